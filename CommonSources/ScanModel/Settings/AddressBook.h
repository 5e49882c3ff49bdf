#pragma once
// A whole server address book read in one call, one text per entry.

#include <cstdint>
#include <string>

#include "quorvel_api.h"

class QuorvelWrapperIntf;

class AddressBook {
public:
    enum Kind { EmailAddresses = 1, FaxAddresses = 2 };

    // The wrapper is not owned. Nothing is read until the book is first asked for.
    AddressBook(QuorvelWrapperIntf* wrapper, int32_t kind);
    AddressBook(const AddressBook&) = delete;
    AddressBook& operator=(const AddressBook&) = delete;
    virtual ~AddressBook();

    // 0 when the book cannot be loaded.
    virtual int32_t GetCount();
    // The empty text when the book cannot be loaded or the index names no entry.
    virtual std::string GetEntry(int32_t index);
    // E-mail books are asked for as "users", then "user"; fax books as "emfax".
    virtual bool Load();

private:
    void Release();

    QuorvelWrapperIntf* m_wrapper;
    ServerStringArray* m_book = nullptr;
    int32_t m_kind;
};
