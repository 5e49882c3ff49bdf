#pragma once
// One recipient: a display name and an address, in the text form '"name" <address>'.

#include <string>

class EmailAddress {
public:
    EmailAddress();
    EmailAddress(const std::string& name, const std::string& address);
    EmailAddress(const EmailAddress& other);
    EmailAddress& operator=(const EmailAddress& other);
    virtual ~EmailAddress();

    // '"name" <address>', or '<address>' without a name; nothing is escaped.
    virtual std::string Format() const;
    virtual std::string GetAddress() const;
    virtual std::string GetName() const;

    // Reads the text form leniently: malformed text never fails.
    static void Parse(const std::string& text, std::string& name, std::string& address);

private:
    std::string m_name;
    std::string m_address;
};
