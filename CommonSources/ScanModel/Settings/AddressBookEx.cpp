#include "AddressBookEx.h"

#include "AddressAttributeMaskHelper.h"
#include "Exception.h"
#include "LdapFilter.h"
#include "QuorvelWrapperIntf.h"
#include "StringUtils.h"

#include <algorithm>
#include <cstring>

namespace {

const int32_t kBatchSize = 10;
const int32_t kDirectoryLimit = 30;
const char* const kFilterTemplate =
    "(|(cn=*%s*) (givenName=*%s*)(sn=*%s*)(displayName=*%s*)(mail=*%s*))";

std::string ValueText(const QuorvelAddressValue& value) {
    if (value.data == nullptr || value.length <= 0) {
        return std::string();
    }
    return std::string(value.data, static_cast<size_t>(value.length));
}

bool NameLess(const EmailAddress& a, const EmailAddress& b) {
    return CommonCpp::CompareNoCase(a.GetName().c_str(), b.GetName().c_str()) < 0;
}

} // namespace

AddressBookEx::AddressBookEx(QuorvelWrapperIntf* wrapper, int32_t mode, void* waitIndicator,
                             int32_t kind, const std::string& searchText)
    : m_wrapper(wrapper), m_waitIndicator(waitIndicator), m_kind(kind), m_searchText(searchText) {
    Load(mode);
}

AddressBookEx::~AddressBookEx() = default;

std::string AddressBookEx::BuildFilter(const std::string& searchText) {
    // Built in full, not in a fixed buffer, and the inserted text is never searched again.
    const std::string value = EscapeLdapFilterValue(searchText);
    const std::string pattern = kFilterTemplate;
    std::string filter;
    size_t pos = 0;
    for (;;) {
        const size_t placeholder = pattern.find("%s", pos);
        if (placeholder == std::string::npos) {
            return filter + pattern.substr(pos);
        }
        filter += pattern.substr(pos, placeholder - pos) + value;
        pos = placeholder + 2;
    }
}

int AddressBookEx::OpenByName() {
    const auto open = [this](const char* name) {
        QuorvelBookNameList names = {name, nullptr};
        QuorvelBookSelection selection = {&names, 0};
        return m_wrapper->AddressOpenBookEx(QUORVEL_BOOK_BY_NAME, &selection);
    };
    if (m_kind != EmailAddresses) {
        return open("emfax");
    }
    const int result = open("user");
    return result == 0 ? result : open("users");
}

int AddressBookEx::OpenDirectorySearch() {
    AddressAttributeMaskHelper attributes;
    const std::string filter = m_searchText.empty() ? std::string() : BuildFilter(m_searchText);
    QuorvelDirectoryQuery query = {0, m_searchText.empty() ? nullptr : filter.c_str(),
                                   attributes.Get(), kDirectoryLimit};
    QuorvelDirectorySelection selection = {};
    selection.word1 = &selection.word2;
    selection.word4 = &selection.word6;
    selection.query = &query;
    return m_wrapper->AddressOpenBookEx(QUORVEL_BOOK_DIRECTORY_SEARCH, &selection);
}

void AddressBookEx::Load(int32_t mode) {
    m_entries.clear();
    int opened = 0;
    if (mode == ServerBook) {
        opened = OpenByName();
    } else if (mode == DirectorySearch) {
        opened = OpenDirectorySearch();
    }
    if (opened != 0) {
        return;
    }
    int32_t atEnd = 0;
    do {
        QuorvelAddressEntryList* list = nullptr;
        atEnd = 0;
        if (m_wrapper->AddressReadBookEntriesEx(kBatchSize, &list, &atEnd) != 0) {
            break;
        }
        if (list == nullptr) {
            break; // nothing came back: a flag left at 0 must not keep us reading
        }
        const bool empty = list->count <= 0;
        AddBatch(*list);
        m_wrapper->AddressFreeBookEntriesEx(list);
        if (empty) {
            break;
        }
    } while (atEnd == 0);
    m_wrapper->AddressCloseBookEx();
}

void AddressBookEx::AddBatch(const QuorvelAddressEntryList& list) {
    std::vector<EmailAddress> batch;
    for (int32_t i = 0; list.items != nullptr && i < list.count; ++i) {
        const QuorvelAddressEntry* entry = list.items[i];
        if (entry == nullptr) {
            continue;
        }
        std::string name;
        std::string address;
        for (int32_t a = 0; entry->attrs != nullptr && a < entry->numAttrs; ++a) {
            const QuorvelAddressAttr& attr = entry->attrs[a];
            if (attr.numVals != 1) {
                CommonCpp::DebugTrace("WARNING: QuorvelAddressAttr::numVals is not 1, but %d\n",
                                      static_cast<int>(attr.numVals));
            }
            const std::string text =
                attr.numVals > 0 && attr.values != nullptr ? ValueText(attr.values[0]) : "";
            if (attr.name != nullptr && std::strcmp(attr.name, "cn") == 0) {
                name = text;
            } else if (attr.name != nullptr && std::strcmp(attr.name, "mail") == 0) {
                address = text;
            }
        }
        if (!address.empty()) {
            batch.emplace_back(name, address);
        }
    }
    std::stable_sort(batch.begin(), batch.end(), NameLess);
    // Equal names keep the order in which they arrived.
    for (const EmailAddress& address : batch) {
        m_entries.insert(std::upper_bound(m_entries.begin(), m_entries.end(), address, NameLess),
                         address);
    }
}

int32_t AddressBookEx::GetCount() const {
    return static_cast<int32_t>(m_entries.size());
}

bool AddressBookEx::GetAt(int32_t index, EmailAddress& out) const {
    if (index < 0 || index >= GetCount()) {
        return false;
    }
    out = m_entries[static_cast<size_t>(index)];
    return true;
}
