#include "AddressBook.h"

#include "QuorvelWrapperIntf.h"

AddressBook::AddressBook(QuorvelWrapperIntf* wrapper, int32_t kind)
    : m_wrapper(wrapper), m_kind(kind) {}

AddressBook::~AddressBook() {
    Release();
}

void AddressBook::Release() {
    if (m_book != nullptr) {
        m_wrapper->AddressSFreeAddrBook(&m_book);
        m_book = nullptr;
    }
}

bool AddressBook::Load() {
    Release();
    int result = 0;
    if (m_kind == EmailAddresses) {
        result = m_wrapper->AddressSGetAddrBook("users", &m_book);
        if (result != 0) {
            result = m_wrapper->AddressSGetAddrBook("user", &m_book);
        }
    } else if (m_kind == FaxAddresses) {
        result = m_wrapper->AddressSGetAddrBook("emfax", &m_book);
    } else {
        return false;
    }
    if (result != 0) {
        Release();
    }
    return result == 0;
}

int32_t AddressBook::GetCount() {
    if (m_book == nullptr && !Load()) {
        return 0;
    }
    return m_book != nullptr ? m_book->count : 0;
}

std::string AddressBook::GetEntry(int32_t index) {
    if (index < 0 || index >= GetCount() || m_book->items == nullptr ||
        m_book->items[index] == nullptr) {
        return std::string();
    }
    return m_book->items[index];
}
