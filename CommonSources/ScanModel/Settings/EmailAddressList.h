#pragma once
// Recipients in the order they were added, duplicates kept; text form joined by "; ".

#include "EmailAddress.h"

#include <cstdint>
#include <string>
#include <vector>

class EmailAddressList {
public:
    EmailAddressList();
    EmailAddressList(const EmailAddressList& other);
    EmailAddressList& operator=(const EmailAddressList& other);
    virtual ~EmailAddressList();

    // Replaces the list with the addresses of a ";"-separated text; a ";" inside a quoted
    // display name does not split.
    virtual void SetFromString(const std::string& text);
    virtual std::string ToString() const;
    virtual void Clear();
    // Parses one address text and appends it, even when it comes out empty.
    virtual void Add(const std::string& text);
    virtual int32_t GetCount() const;
    // Throws std::out_of_range for an index outside the list.
    virtual EmailAddress GetAt(int32_t index) const;

private:
    std::vector<EmailAddress> m_addresses;
};
