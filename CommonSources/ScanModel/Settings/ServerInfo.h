#pragma once
// One known print server. The fields are public: the server chooser edits them directly.

#include "BaseObject.h"

#include <cstdint>
#include <string>

class ServerInfo : public BaseObject {
public:
    ServerInfo();
    ServerInfo(bool showNickname, const std::string& deviceName, const std::string& ipAddress,
               const std::string& nickname, bool reportErrors);
    ServerInfo(const ServerInfo& other);
    ServerInfo& operator=(const ServerInfo& other);
    ~ServerInfo() override;

    // Equality of every field, for another ServerInfo only.
    virtual bool IsEqual(const BaseObject* other) const;
    bool IsSameObject(const BaseObject* other) const override;
    // reportErrors does not enter the hash.
    virtual uint32_t Hash() const;

    std::string deviceName;
    std::string ipAddress;
    std::string nickname;
    bool showNickname;
    // Cleared only for the source's own silent attempt on the local server; never stored.
    bool reportErrors;
};
