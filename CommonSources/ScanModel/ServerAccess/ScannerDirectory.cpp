// Scanner: the corporate directory, where a logged-in user's mail address and display name
// are looked up.

#include "Scanner.h"

#include "LdapFilter.h"

#include <cctype>
#include <cstring>

#include "QuorvelWrapperIntf.h"
#include "ScannerData.h"

namespace {

constexpr int32_t kScopeBase = 0;
constexpr int32_t kScopeSubtree = 2;
// Directory values are kept in a 256-byte text: a longer one is not kept at all, since a cut
// mail address would be a wrong one.
constexpr size_t kMaxValueLength = 255;

bool SameName(const char* a, const char* b) {
    if (!a || !b) {
        return false;
    }
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

// The first value of the entry's attribute of that name, as text up to its first NUL; false
// when there is none that fits.
bool FirstValueOf(const CorpLdapEntry& entry, const char* name, std::string& text) {
    if (!entry.attrs || entry.count <= 0) {
        return false;
    }
    for (int32_t i = 0; i < entry.count; ++i) {
        const CorpLdapAttr& attribute = entry.attrs[i];
        if (!SameName(attribute.name, name)) {
            continue;
        }
        if (!attribute.values || attribute.count <= 0) {
            return false;
        }
        const CorpLdapValue& value = attribute.values[0];
        if (!value.data || value.length <= 0) {
            return false;
        }
        // Only the bytes the library says it has are read; the data carry no terminator.
        const void* const nul = std::memchr(value.data, '\0', static_cast<size_t>(value.length));
        const size_t length = nul ? static_cast<size_t>(static_cast<const char*>(nul) - value.data)
                                  : static_cast<size_t>(value.length);
        if (length > kMaxValueLength) {
            return false;
        }
        text.assign(value.data, length);
        return true;
    }
    return false;
}

const CorpLdapEntry* FirstEntry(const CorpLdapEntryList* list) {
    if (!list || list->count <= 0 || !list->entries) {
        return nullptr;
    }
    return list->entries[0];
}

} // namespace

std::string Scanner::EscapeFilterValue(const std::string& text) {
    return EscapeLdapFilterValue(text);
}

int Scanner::LookUpUserMail(QuorvelLdapSession* session) {
    const std::string filter = "(samAccountName=" + EscapeFilterValue(m_data->userName) + ")";
    char mail[] = "mail";
    char commonName[] = "cn";
    char* names[] = {mail, commonName};
    CorpLdapEntryList* entries = nullptr;
    const int result =
        LdapSearch(session, filter, std::string(), kScopeSubtree, names, 2, &entries);
    const CorpLdapEntry* const entry = FirstEntry(entries);
    if (result != 0 || !entry) {
        return result;
    }
    // By name, not by place: an entry without a mail address must not lend its name as one.
    std::string text;
    if (FirstValueOf(*entry, mail, text)) {
        m_data->userMailAddress = text;
    }
    if (FirstValueOf(*entry, commonName, text)) {
        m_data->userDisplayName = text;
    }
    return result;
}

int Scanner::GetDefaultNamingContext(QuorvelLdapSession* session, std::string& text) {
    char attribute[] = "defaultNamingContext";
    char* names[] = {attribute};
    CorpLdapEntryList* entries = nullptr;
    const int result =
        LdapSearch(session, "(objectClass=*)", std::string(), kScopeBase, names, 1, &entries);
    if (const CorpLdapEntry* const entry = FirstEntry(entries)) {
        std::string value;
        if (FirstValueOf(*entry, attribute, value)) {
            text = value;
        }
    }
    return result;
}

int Scanner::LdapSearch(QuorvelLdapSession* session, const std::string& filter,
                        const std::string& base, int32_t scope, char** attributeNames,
                        int32_t attributeCount, CorpLdapEntryList** entries) {
    if (entries) {
        *entries = nullptr;
    }
    QuorvelWrapperIntf* const wrapper = m_data->wrapper;
    int result =
        wrapper->CorpLdapSearch(session, base, filter, scope, attributeNames, attributeCount);
    if (result == 0) {
        int32_t count = 0;
        result = wrapper->CorpLdapGetEntryListEx(session, &count, entries, 0);
    }
    return result;
}
