#include "EmailAddress.h"

#include "StringUtils.h"

namespace {

// Positions as signed numbers so that "not found" compares below every position.
long Position(std::string::size_type pos) {
    return pos == std::string::npos ? -1L : static_cast<long>(pos);
}

// The text from begin up to end (exclusive), empty when there is none.
std::string Slice(const std::string& text, long begin, long end) {
    if (begin < 0 || end <= begin) {
        return std::string();
    }
    return text.substr(static_cast<std::string::size_type>(begin),
                       static_cast<std::string::size_type>(end - begin));
}

// The text strictly between two found positions.
std::string Between(const std::string& text, long first, long last) {
    return first < 0 ? std::string() : Slice(text, first + 1, last);
}

} // namespace

EmailAddress::EmailAddress() = default;

EmailAddress::EmailAddress(const std::string& name, const std::string& address)
    : m_name(name), m_address(address) {}

EmailAddress::EmailAddress(const EmailAddress& other) = default;

EmailAddress& EmailAddress::operator=(const EmailAddress& other) = default;

EmailAddress::~EmailAddress() = default;

std::string EmailAddress::Format() const {
    if (m_name.empty()) {
        return "<" + m_address + ">";
    }
    return "\"" + m_name + "\" <" + m_address + ">";
}

std::string EmailAddress::GetAddress() const {
    return m_address;
}

std::string EmailAddress::GetName() const {
    return m_name;
}

void EmailAddress::Parse(const std::string& text, std::string& name, std::string& address) {
    const long q1 = Position(text.find('"'));
    const long q2 = Position(text.rfind('"'));
    const long lt = Position(text.find('<'));
    const long gt = Position(text.rfind('>'));
    name.clear();
    address.clear();

    if (q2 < lt) {
        // A display name, if any, comes before the bracketed address.
        name = Between(text, q1, q2);
        if (gt > lt) {
            address = Between(text, lt, gt);
        } else {
            // An unclosed bracket keeps all the text after it.
            address = text.substr(static_cast<std::string::size_type>(lt + 1));
        }
    } else {
        name = Between(text, q1, q2);
        if (gt >= 0) {
            // From the start of the text when there is no "<".
            const long lastLt = Position(text.rfind('<'));
            address = Slice(text, lastLt + 1, gt);
        }
    }

    if (address.empty()) {
        address = CommonCpp::TextBetween(text, "\"");
    }
    name = CommonCpp::TrimRight(CommonCpp::TrimLeft(name));
    address = CommonCpp::TrimRight(CommonCpp::TrimLeft(address));
}
