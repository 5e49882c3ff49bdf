#pragma once
// OpenSSL, loaded by name at run time: the functions the SSL relay uses, resolved in the SSL
// library and then in the crypto library. Functions that newer OpenSSL versions replaced by
// macros are resolved to what those macros call.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace kivo {

class OsaSemaphore;

class OpenSslLibrary {
public:
    using Bio = void;
    using Ctx = void;
    using Method = void;

    // Loads both libraries and every function; false (with the reason in error()) when any is
    // missing. The libraries stay loaded for the life of the process.
    bool load();
    const char* error() const { return error_; }

    void loadErrorStrings() const;
    void libraryInit() const;
    const Method* serverMethod() const { return sslv23ServerMethod_(); }
    Ctx* ctxNew(const Method* m) const { return ctxNew_(m); }
    void ctxFree(Ctx* c) const { ctxFree_(c); }
    int useCertificateFile(Ctx* c, const char* path) const { return useCertificate_(c, path, 1); }
    int usePrivateKeyFile(Ctx* c, const char* path) const { return usePrivateKey_(c, path, 1); }
    int checkPrivateKey(const Ctx* c) const { return checkPrivateKey_(c); }
    Bio* newSsl(Ctx* c, int client) const { return bioNewSsl_(c, client); }
    Bio* newAccept(const char* hostPort) const { return bioNewAccept_(hostPort); }
    long ctrl(Bio* b, int cmd, long larg, void* parg) const { return bioCtrl_(b, cmd, larg, parg); }
    int read(Bio* b, void* data, int size) const { return bioRead_(b, data, size); }
    int write(Bio* b, const void* data, int size) const { return bioWrite_(b, data, size); }
    Bio* pop(Bio* b) const { return bioPop_(b); }
    void freeAll(Bio* b) const { bioFreeAll_(b); }
    int testFlags(const Bio* b, int flags) const {
        return bioTestFlags_ ? bioTestFlags_(b, flags) : 0;
    }
    void printErrors() const;

private:
    template <typename F> bool find(F& fn, const char* name, const char* instead = nullptr);
    void installLocking();

    void* ssl_ = nullptr;
    void* crypto_ = nullptr;
    const char* error_ = "";

    int (*libraryInit_)() = nullptr;                  // before 1.1
    void (*loadErrorStrings_)() = nullptr;            // before 1.1
    int (*initSsl_)(uint64_t, const void*) = nullptr; // 1.1 and later
    const Method* (*sslv23ServerMethod_)() = nullptr;
    const Method* (*sslv23ClientMethod_)() = nullptr;
    Ctx* (*ctxNew_)(const Method*) = nullptr;
    void (*ctxFree_)(Ctx*) = nullptr;
    void* (*sslNew_)(Ctx*) = nullptr;
    void (*setConnectState_)(void*) = nullptr;
    const void* (*bioSConnect_)() = nullptr;
    Bio* (*bioNew_)(const void*) = nullptr;
    Bio* (*bioNewSsl_)(Ctx*, int) = nullptr;
    Bio* (*bioNewAccept_)(const char*) = nullptr;
    long (*bioCtrl_)(Bio*, int, long, void*) = nullptr;
    int (*bioRead_)(Bio*, void*, int) = nullptr;
    int (*bioWrite_)(Bio*, const void*, int) = nullptr;
    Bio* (*bioPop_)(Bio*) = nullptr;
    Bio* (*bioPush_)(Bio*, Bio*) = nullptr;
    void (*bioFreeAll_)(Bio*) = nullptr;
    int (*bioTestFlags_)(const Bio*, int) = nullptr;
    unsigned long (*errPeekError_)() = nullptr;
    void (*errPrintErrorsFp_)(FILE*) = nullptr;
    int (*useCertificate_)(Ctx*, const char*, int) = nullptr;
    int (*usePrivateKey_)(Ctx*, const char*, int) = nullptr;
    int (*checkPrivateKey_)(const Ctx*) = nullptr;
    void (*setLockingCallback_)(void (*)(int, int, const char*, int)) = nullptr; // before 1.1
    int (*numLocks_)() = nullptr;                                                // before 1.1
};

} // namespace kivo
