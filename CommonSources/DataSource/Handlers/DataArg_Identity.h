#pragma once
// DAT_IDENTITY: who this source is (MSG_GET), opening and closing it for one application at a
// time, and the identities of the source and the application that opened it.

#include "AbstractDataArg.h"
#include "AppCapId.h"

class DataArg_Identity : public AbstractDataArg, public AppCapId {
public:
    // Language and country come from the interface language chosen at this point.
    DataArg_Identity();
    ~DataArg_Identity() override;

    bool IsDat(TW_UINT16 dat) const override;
    TW_UINT16 MsgCloseDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgGet(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    TW_UINT16 MsgOpenDS(pTW_IDENTITY pOrigin, TW_MEMREF pData) override;
    virtual bool IsSameSource(const TW_IDENTITY* identity) const;
    virtual bool IsSameApplication(const TW_IDENTITY* identity) const;
    virtual TW_IDENTITY* GetApplicationIdentity();
    virtual TW_IDENTITY* GetSourceIdentity();
    // An address in the code that opened the source (MSG_OPENDS): in the source manager that
    // loaded it, which takes the source's notices; null while the source is not open.
    const void* GetOpenerAddress() const { return m_opener; }

    // "<cap in hex>;<major>;<minor><ProductName>;<ProductFamily>;<Manufacturer>;" of the
    // application: the form the keys already stored have.
    std::string GetKey(TW_UINT16 capabilityId) const override;

    // The answer of MSG_GET, Id left as the caller set it.
    void FillTemplate(TW_IDENTITY& identity) const;

    // TWAIN language and country codes of an interface language index.
    static void LanguageForIndex(int languageIndex, TW_UINT16& language, TW_UINT16& country);

private:
    TW_IDENTITY m_sourceIdentity;
    TW_IDENTITY m_template;
    TW_IDENTITY m_applicationIdentity;
    const void* m_opener = nullptr;
};
