#include "SimAddressBooks.h"

#include <cctype>
#include <cstring>

#include "SimHeap.h"
#include "SimRecords.h"

namespace orvexsim {

namespace {

std::string Lower(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower;
}

bool SameName(const std::string& a, const std::string& b) {
    return Lower(a) == Lower(b);
}

std::vector<std::string> SplitValues(const std::string& text) {
    std::vector<std::string> values;
    if (text.empty()) {
        return values;
    }
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        values.push_back(text.substr(start, bar == std::string::npos ? bar : bar - start));
        if (bar == std::string::npos) {
            return values;
        }
        start = bar + 1;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower >= 'a' && lower <= 'f') {
        return lower - 'a' + 10;
    }
    return -1;
}

void SkipBlanks(const std::string& text, size_t& pos) {
    while (pos < text.size() && text[pos] == ' ') {
        ++pos;
    }
}

} // namespace

std::string BookEntry::First(const std::string& name) const {
    std::string value;
    for (const BookAttribute& attribute : attributes) {
        if (SameName(attribute.name, name)) {
            value = attribute.values.empty() ? std::string() : attribute.values.front();
        }
    }
    return value;
}

FixtureStatus ReadBookFile(const std::string& path, BookEntries& entries, std::string& error) {
    entries.clear();
    Pairs pairs;
    const FixtureStatus status = ReadDumpFile(path, pairs, error);
    if (status != FixtureStatus::Ok) {
        return status;
    }
    for (const auto& pair : pairs) {
        if (pair.first == "entry") {
            entries.push_back(BookEntry{pair.second, {}});
            continue;
        }
        if (entries.empty()) {
            error = path + ": attribute " + pair.first + " before the first entry";
            entries.clear();
            return FixtureStatus::Malformed;
        }
        BookAttribute attribute;
        const std::string& key = pair.first;
        if (key.size() > 2 && key.compare(key.size() - 2, 2, "[]") == 0) {
            attribute.name = key.substr(0, key.size() - 2);
            attribute.values = SplitValues(pair.second);
        } else {
            attribute.name = key;
            attribute.values.push_back(pair.second);
        }
        entries.back().attributes.push_back(attribute);
    }
    return FixtureStatus::Ok;
}

bool DirectoryFilter::Parse(const std::string& text, std::string& reason) {
    size_t pos = 0;
    Node root;
    if (!ParseFilter(text, pos, root, reason)) {
        return false;
    }
    SkipBlanks(text, pos);
    if (pos != text.size()) {
        reason = "text after the filter at " + std::to_string(pos);
        return false;
    }
    m_root = root;
    return true;
}

bool DirectoryFilter::ParseFilter(const std::string& text, size_t& pos, Node& node,
                                  std::string& reason) {
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos] != '(') {
        reason = "\"(\" expected at " + std::to_string(pos);
        return false;
    }
    ++pos;
    if (pos < text.size() && (text[pos] == '&' || text[pos] == '|' || text[pos] == '!')) {
        node.kind = text[pos++];
        for (;;) {
            SkipBlanks(text, pos);
            if (pos < text.size() && text[pos] == ')') {
                break;
            }
            Node child;
            if (!ParseFilter(text, pos, child, reason)) {
                return false;
            }
            node.children.push_back(child);
        }
        if (node.children.empty() || (node.kind == '!' && node.children.size() != 1)) {
            reason = "wrong number of filters in a list at " + std::to_string(pos);
            return false;
        }
        ++pos;
        return true;
    }
    const size_t close = text.find(')', pos);
    if (close == std::string::npos) {
        reason = "\")\" missing";
        return false;
    }
    const std::string item = text.substr(pos, close - pos);
    const size_t equals = item.find('=');
    if (equals == std::string::npos || equals == 0) {
        reason = "item without attribute=value at " + std::to_string(pos);
        return false;
    }
    node.kind = '=';
    node.attribute = item.substr(0, equals);
    for (const char c : node.attribute) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != ';' && c != '.') {
            reason = "bad attribute name " + node.attribute;
            return false;
        }
    }
    if (!ParseValue(item.substr(equals + 1), node.parts, reason)) {
        return false;
    }
    pos = close + 1;
    return true;
}

bool DirectoryFilter::ParseValue(const std::string& raw, std::vector<std::string>& parts,
                                 std::string& reason) {
    parts.assign(1, std::string());
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '*') {
            parts.emplace_back();
        } else if (c == '\\') {
            const int high = i + 1 < raw.size() ? HexDigit(raw[i + 1]) : -1;
            const int low = i + 2 < raw.size() ? HexDigit(raw[i + 2]) : -1;
            if (high < 0 || low < 0) {
                reason = "bad escape in value " + raw;
                return false;
            }
            parts.back() += static_cast<char>(high * 16 + low);
            i += 2;
        } else if (c == '(' || c == '\0') {
            reason = "unescaped character in value " + raw;
            return false;
        } else {
            parts.back() += c;
        }
    }
    return true;
}

bool DirectoryFilter::Matches(const BookEntry& entry) const {
    return MatchNode(m_root, entry);
}

bool DirectoryFilter::MatchNode(const Node& node, const BookEntry& entry) {
    switch (node.kind) {
    case '&':
        for (const Node& child : node.children) {
            if (!MatchNode(child, entry)) {
                return false;
            }
        }
        return true;
    case '|':
        for (const Node& child : node.children) {
            if (MatchNode(child, entry)) {
                return true;
            }
        }
        return false;
    case '!':
        return !MatchNode(node.children.front(), entry);
    default:
        for (const BookAttribute& attribute : entry.attributes) {
            if (!SameName(attribute.name, node.attribute)) {
                continue;
            }
            for (const std::string& value : attribute.values) {
                if (MatchValue(node.parts, value)) {
                    return true;
                }
            }
        }
        return false;
    }
}

bool DirectoryFilter::MatchValue(const std::vector<std::string>& parts, const std::string& value) {
    const std::string text = Lower(value);
    if (parts.size() == 1) {
        return text == Lower(parts.front());
    }
    const std::string initial = Lower(parts.front());
    const std::string final = Lower(parts.back());
    if (text.size() < initial.size() + final.size() || text.compare(0, initial.size(), initial) ||
        text.compare(text.size() - final.size(), final.size(), final)) {
        return false;
    }
    size_t pos = initial.size();
    const size_t end = text.size() - final.size();
    for (size_t i = 1; i + 1 < parts.size(); ++i) {
        const std::string any = Lower(parts[i]);
        const size_t found = text.find(any, pos);
        if (found == std::string::npos || found + any.size() > end) {
            return false;
        }
        pos = found + any.size();
    }
    return true;
}

std::string BookEntryText(const BookEntry& entry) {
    const std::string name = entry.First("cn");
    const std::string mail = entry.First("mail");
    if (mail.empty()) {
        return name;
    }
    return name.empty() ? "<" + mail + ">" : "\"" + name + "\" <" + mail + ">";
}

ServerStringArray* BuildStringArray(const std::vector<std::string>& texts) {
    SimHeap& heap = SimHeap::Instance();
    auto* const array = static_cast<ServerStringArray*>(heap.Allocate(sizeof(ServerStringArray)));
    if (!array) {
        return nullptr;
    }
    array->count = 0;
    array->items = static_cast<char**>(heap.Allocate(texts.size() * sizeof(char*)));
    if (!array->items) {
        heap.Free(array);
        return nullptr;
    }
    for (const std::string& text : texts) {
        char* const copy = heap.DuplicateString(text);
        if (!copy) {
            FreeStringArray(array);
            return nullptr;
        }
        array->items[array->count++] = copy;
    }
    return array;
}

QuorvelAddressEntryList* BuildAddressEntryList(const BookEntries& entries, size_t first,
                                               size_t count) {
    SimHeap& heap = SimHeap::Instance();
    auto* const list =
        static_cast<QuorvelAddressEntryList*>(heap.Allocate(sizeof(QuorvelAddressEntryList)));
    if (!list) {
        return nullptr;
    }
    list->count = static_cast<int32_t>(count);
    list->items = nullptr;
    bool ok = true;
    if (count > 0) {
        list->items =
            static_cast<QuorvelAddressEntry**>(heap.Allocate(count * sizeof(QuorvelAddressEntry*)));
        ok = list->items != nullptr;
        if (ok) {
            std::memset(list->items, 0, count * sizeof(QuorvelAddressEntry*));
        } else {
            list->count = 0;
        }
    }
    for (size_t i = 0; ok && i < count; ++i) {
        const BookEntry& source = entries[first + i];
        auto* const entry =
            static_cast<QuorvelAddressEntry*>(heap.Allocate(sizeof(QuorvelAddressEntry)));
        if (!entry) {
            ok = false;
            break;
        }
        std::memset(entry, 0, sizeof(*entry));
        list->items[i] = entry;
        entry->name = heap.DuplicateString(source.id);
        const size_t attrCount = source.attributes.size();
        if (attrCount > 0) {
            entry->attrs = static_cast<QuorvelAddressAttr*>(
                heap.Allocate(attrCount * sizeof(QuorvelAddressAttr)));
            if (!entry->attrs) {
                ok = false;
                break;
            }
            std::memset(entry->attrs, 0, attrCount * sizeof(QuorvelAddressAttr));
            entry->numAttrs = static_cast<int32_t>(attrCount);
        }
        ok = entry->name != nullptr;
        for (size_t a = 0; ok && a < attrCount; ++a) {
            const BookAttribute& from = source.attributes[a];
            QuorvelAddressAttr& attr = entry->attrs[a];
            attr.name = heap.DuplicateString(from.name);
            ok = attr.name != nullptr;
            if (!ok || from.values.empty()) {
                continue;
            }
            attr.values = static_cast<QuorvelAddressValue*>(
                heap.Allocate(from.values.size() * sizeof(QuorvelAddressValue)));
            if (!attr.values) {
                ok = false;
                break;
            }
            std::memset(attr.values, 0, from.values.size() * sizeof(QuorvelAddressValue));
            attr.numVals = static_cast<int32_t>(from.values.size());
            for (size_t v = 0; ok && v < from.values.size(); ++v) {
                const std::string& text = from.values[v];
                auto* const data = static_cast<char*>(heap.Allocate(text.size()));
                ok = data != nullptr;
                if (ok) {
                    std::memcpy(data, text.data(), text.size());
                    attr.values[v].data = data;
                    attr.values[v].length = static_cast<int32_t>(text.size());
                }
            }
        }
    }
    if (!ok) {
        FreeAddressEntryList(list);
        return nullptr;
    }
    return list;
}

} // namespace orvexsim
