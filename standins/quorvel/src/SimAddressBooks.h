#pragma once
// Address books and the directory of a simulated server: the entry files, the directory-search
// filter, and the entry records handed to clients on the library heap.
//
// books/<name>.txt and directory.txt are dump files in which each "entry = <id>" line starts
// an entry and the lines after it are that entry's attributes: "cn = Ann Lee" is an attribute
// with one value, "mail[] = a@x|b@x" one with several values, "mail[] =" one with none.

#include <cstdint>
#include <string>
#include <vector>

#include "SimFixtures.h"
#include "quorvel_api.h"

namespace orvexsim {

struct BookAttribute {
    std::string name;
    std::vector<std::string> values;
};

struct BookEntry {
    std::string id;
    std::vector<BookAttribute> attributes;

    // The first value of the last attribute of that name (case-insensitive); empty if none.
    std::string First(const std::string& name) const;
};

using BookEntries = std::vector<BookEntry>;

// Reads an entry file; error names the file, line and reason when it is malformed.
FixtureStatus ReadBookFile(const std::string& path, BookEntries& entries, std::string& error);

// An LDAP search filter (RFC 4515: and, or, not, equality, presence and substrings, with \XX
// escapes in values; blanks between filters are allowed). Attribute names and values compare
// without case.
class DirectoryFilter {
public:
    // False with the reason when the text is not a filter.
    bool Parse(const std::string& text, std::string& reason);
    bool Matches(const BookEntry& entry) const;

private:
    struct Node {
        char kind = '='; // '&', '|', '!' or '=' (an item)
        std::vector<Node> children;
        std::string attribute;
        // An item's value split at its unescaped "*": one part is equality, two empty parts
        // presence, anything else a substring match.
        std::vector<std::string> parts;
    };

    bool ParseFilter(const std::string& text, size_t& pos, Node& node, std::string& reason);
    static bool ParseValue(const std::string& raw, std::vector<std::string>& parts,
                           std::string& reason);
    static bool MatchNode(const Node& node, const BookEntry& entry);
    static bool MatchValue(const std::vector<std::string>& parts, const std::string& value);

    Node m_root;
};

// The text an entry has in ADDRESS_sGetAddrBook's list: "\"cn\" <mail>", "<mail>" or "cn".
std::string BookEntryText(const BookEntry& entry);

// The records on the library heap; null when the heap is exhausted (nothing left allocated).
ServerStringArray* BuildStringArray(const std::vector<std::string>& texts);
// Entry values get exactly their length in bytes, with no terminator.
QuorvelAddressEntryList* BuildAddressEntryList(const BookEntries& entries, size_t first,
                                               size_t count);

} // namespace orvexsim

namespace orvexsim {

class SimCall;

// The entries of a book or directory file of the server, or the call's answer when there are
// none: FUNCTION_NOT_AVAILABLE for a missing file, GENERAL_FAILURE for a malformed one.
int ReadBookEntries(SimCall& call, const std::string& server, const std::string& file,
                    BookEntries& entries);

// The address-book calls of quorvel_zyl that read the fixtures (AddressBookCalls.cpp).
int QUORVEL_CALL SimAddressGetAddrBook(QuorvelServerHandle* server, const char* name,
                                       ServerStringArray** book, int32_t reserved);
int QUORVEL_CALL SimAddressOpenBookEx(QuorvelServerHandle* server, QuorvelSessionHandle* book,
                                      int32_t selector, void* record, int32_t reserved1,
                                      int32_t reserved2);
int QUORVEL_CALL SimAddressReadBookEntriesEx(QuorvelSessionHandle* book, int32_t batchSize,
                                             QuorvelAddressEntryList** entries, int32_t* atEnd,
                                             int32_t reserved);

} // namespace orvexsim
