#include "EmailAddressList.h"

#include "StringUtils.h"

#include <stdexcept>

EmailAddressList::EmailAddressList() = default;

EmailAddressList::EmailAddressList(const EmailAddressList& other) = default;

EmailAddressList& EmailAddressList::operator=(const EmailAddressList& other) = default;

EmailAddressList::~EmailAddressList() = default;

void EmailAddressList::SetFromString(const std::string& text) {
    Clear();
    std::vector<std::string> pieces;
    CommonCpp::Split(text, ";", pieces);
    for (const std::string& piece : pieces) {
        if (!piece.empty() && piece != ";") {
            Add(piece);
        }
    }
}

std::string EmailAddressList::ToString() const {
    std::string result;
    for (const EmailAddress& address : m_addresses) {
        if (!result.empty()) {
            result += "; ";
        }
        result += address.Format();
    }
    return result;
}

void EmailAddressList::Clear() {
    m_addresses.clear();
}

void EmailAddressList::Add(const std::string& text) {
    std::string name;
    std::string address;
    EmailAddress::Parse(text, name, address);
    m_addresses.emplace_back(name, address);
}

int32_t EmailAddressList::GetCount() const {
    return static_cast<int32_t>(m_addresses.size());
}

EmailAddress EmailAddressList::GetAt(int32_t index) const {
    if (index < 0 || index >= GetCount()) {
        throw std::out_of_range("invalid vector<T> subscript");
    }
    return m_addresses[static_cast<size_t>(index)];
}
