#include "OpenSslLibrary.h"

#include "OsaSemaphore.h"
#include "kivo_osa.h"

#include <cstdio>

namespace kivo {

namespace {

// The names OpenSSL 3 gives its Windows DLLs come first, then the historical names.
#ifdef _WIN64
const char* const kSslNames[] = {"libssl-3-x64.dll", "libssl.so.0", "libssl.so", "libssl32.dll",
                                 "libssl.dylib"};
const char* const kCryptoNames[] = {"libcrypto-3-x64.dll", "libcrypto.so.0", "libcrypto.so",
                                    "libeay32.dll", "libcrypto.dylib"};
#else
const char* const kSslNames[] = {"libssl-3.dll", "libssl.so.0", "libssl.so", "libssl32.dll",
                                 "libssl.dylib"};
const char* const kCryptoNames[] = {"libcrypto-3.dll", "libcrypto.so.0", "libcrypto.so",
                                    "libeay32.dll", "libcrypto.dylib"};
#endif

constexpr uint64_t kInitLoadCryptoStrings = 0x00000002;
constexpr uint64_t kInitLoadSslStrings = 0x00200000;
constexpr int kLockBit = 1;

template <size_t N> void* loadFirst(const char* const (&names)[N]) {
    for (const char* name : names)
        if (void* m = S_LoadLibrary(name))
            return m;
    return nullptr;
}

// The lock table of libraries that leave locking to the application.
std::vector<std::unique_ptr<OsaSemaphore>>& lockTable() {
    static std::vector<std::unique_ptr<OsaSemaphore>> locks;
    return locks;
}

void lockingCallback(int mode, int n, const char*, int) {
    auto& locks = lockTable();
    if (n < 0 || static_cast<size_t>(n) >= locks.size())
        return;
    if (mode & kLockBit)
        locks[static_cast<size_t>(n)]->take();
    else
        locks[static_cast<size_t>(n)]->give();
}

} // namespace

template <typename F> bool OpenSslLibrary::find(F& fn, const char* name, const char* instead) {
    for (const char* n : {name, instead}) {
        if (!n)
            continue;
        void* p = S_GetProcAddress(ssl_, n);
        if (!p)
            p = S_GetProcAddress(crypto_, n);
        if (p) {
            fn = reinterpret_cast<F>(p);
            return true;
        }
    }
    return false;
}

bool OpenSslLibrary::load() {
    ssl_ = loadFirst(kSslNames);
    crypto_ = loadFirst(kCryptoNames);
    if (!ssl_ || !crypto_) {
        error_ =
            !ssl_ ? "the SSL library (libssl) was not found" : "the crypto library was not found";
        return false;
    }
    error_ = "a function is missing from the SSL libraries";
    // OpenSSL 1.1 made initialisation, the version-flexible methods and locking macros.
    const bool modern = find(initSsl_, "OPENSSL_init_ssl");
    if (!modern && !(find(libraryInit_, "SSL_library_init") &&
                     find(loadErrorStrings_, "SSL_load_error_strings")))
        return false;
    if (!modern && !(find(setLockingCallback_, "CRYPTO_set_locking_callback") &&
                     find(numLocks_, "CRYPTO_num_locks")))
        return false;
    const bool all = find(sslv23ServerMethod_, "SSLv23_server_method", "TLS_server_method") &&
                     find(sslv23ClientMethod_, "SSLv23_client_method", "TLS_client_method") &&
                     find(ctxNew_, "SSL_CTX_new") && find(ctxFree_, "SSL_CTX_free") &&
                     find(sslNew_, "SSL_new") && find(setConnectState_, "SSL_set_connect_state") &&
                     find(bioSConnect_, "BIO_s_connect") && find(bioNew_, "BIO_new") &&
                     find(bioNewSsl_, "BIO_new_ssl") && find(bioNewAccept_, "BIO_new_accept") &&
                     find(bioCtrl_, "BIO_ctrl") && find(bioRead_, "BIO_read") &&
                     find(bioWrite_, "BIO_write") && find(bioPop_, "BIO_pop") &&
                     find(bioPush_, "BIO_push") && find(bioFreeAll_, "BIO_free_all") &&
                     find(errPeekError_, "ERR_peek_error") &&
                     find(errPrintErrorsFp_, "ERR_print_errors_fp") &&
                     find(useCertificate_, "SSL_CTX_use_certificate_file") &&
                     find(usePrivateKey_, "SSL_CTX_use_PrivateKey_file") &&
                     find(checkPrivateKey_, "SSL_CTX_check_private_key");
    if (!all)
        return false;
    find(bioTestFlags_, "BIO_test_flags");
    error_ = "";
    installLocking();
    return true;
}

void OpenSslLibrary::installLocking() {
    if (!numLocks_ || !setLockingCallback_ || !lockTable().empty())
        return;
    const int n = numLocks_();
    for (int i = 0; i < n; ++i)
        lockTable().push_back(std::make_unique<OsaSemaphore>(1));
    setLockingCallback_(lockingCallback);
}

void OpenSslLibrary::loadErrorStrings() const {
    if (initSsl_)
        initSsl_(kInitLoadSslStrings | kInitLoadCryptoStrings, nullptr);
    else
        loadErrorStrings_();
}

void OpenSslLibrary::libraryInit() const {
    if (initSsl_)
        initSsl_(0, nullptr);
    else
        libraryInit_();
}

void OpenSslLibrary::printErrors() const {
    if (errPeekError_ && errPeekError_())
        errPrintErrorsFp_(stderr);
}

} // namespace kivo
