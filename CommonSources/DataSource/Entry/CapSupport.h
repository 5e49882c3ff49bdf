#pragma once
// What the capability handlers may ask of the source object: the known servers and the
// connection, and the DAT_IDENTITY handler whose key names the remembered values of the
// calling application. The value operations of each capability join this interface with the
// handler of that capability.

#include <string>

class DataArg_Identity;
class ServerInfo;

class CapSupport {
public:
    virtual ~CapSupport() = default;

    // Index of the server with that nickname, -1 when none.
    virtual int FindServer(const std::string& nickname) = 0;
    // Takes ownership, appends and selects; returns the new index.
    virtual int AddServer(ServerInfo* server) = 0;
    virtual ServerInfo* GetServerAt(int index) = 0;
    virtual bool IsConnected() = 0;
    virtual void Disconnect() = 0;
    virtual bool Connect(bool force) = 0;
    virtual void SaveServerList() = 0;
    // Null when no server is selected.
    virtual ServerInfo* GetSelectedServer() = 0;
    virtual void SelectServer(int index) = 0;
    virtual DataArg_Identity* GetIdentityArg() = 0;

protected:
    CapSupport() = default;
    CapSupport(const CapSupport&) = default;
    CapSupport& operator=(const CapSupport&) = default;
};
