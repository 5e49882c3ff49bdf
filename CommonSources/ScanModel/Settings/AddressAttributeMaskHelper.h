#pragma once
// The attribute names a directory search asks for: "cn" and "mail".

#include "quorvel_api.h"

class AddressAttributeMaskHelper {
public:
    AddressAttributeMaskHelper();
    AddressAttributeMaskHelper(const AddressAttributeMaskHelper&) = delete;
    AddressAttributeMaskHelper& operator=(const AddressAttributeMaskHelper&) = delete;
    virtual ~AddressAttributeMaskHelper();

    // Valid while the helper lives.
    CorpLdapAttrNames* Get() { return &m_record; }

private:
    char m_cn[3] = "cn";
    char m_mail[5] = "mail";
    char* m_names[2];
    CorpLdapAttrNames m_record;
};
