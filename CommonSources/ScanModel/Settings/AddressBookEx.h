#pragma once
// A server address book or a corporate directory search, read in batches and kept sorted by
// display name. Built, read and dropped within one search of the address-book dialog.

#include <cstdint>
#include <string>
#include <vector>

#include "EmailAddress.h"
#include "quorvel_api.h"

class QuorvelWrapperIntf;

class AddressBookEx {
public:
    enum Mode { ServerBook = 1, DirectorySearch = 0x10 };
    enum Kind { EmailAddresses = 1 }; // any other kind: internet-fax addresses

    // The wrapper is not owned; the wait indicator is kept for the caller and not used.
    // Loads at once.
    AddressBookEx(QuorvelWrapperIntf* wrapper, int32_t mode, void* waitIndicator, int32_t kind,
                  const std::string& searchText);
    AddressBookEx(const AddressBookEx&) = delete;
    AddressBookEx& operator=(const AddressBookEx&) = delete;
    virtual ~AddressBookEx();

    // A failed open leaves the book empty.
    virtual void Load(int32_t mode);
    virtual int32_t GetCount() const;
    // False, with out unchanged, for an index outside the book.
    virtual bool GetAt(int32_t index, EmailAddress& out) const;

    // The directory filter for a search text, each occurrence escaped (RFC 4515).
    static std::string BuildFilter(const std::string& searchText);

private:
    int OpenByName();
    int OpenDirectorySearch();
    void AddBatch(const QuorvelAddressEntryList& list);

    QuorvelWrapperIntf* m_wrapper;
    std::vector<EmailAddress> m_entries;
    void* m_waitIndicator;
    int32_t m_kind;
    std::string m_searchText;
};
