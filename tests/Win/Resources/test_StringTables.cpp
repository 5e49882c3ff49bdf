// The data source's string tables: every language has exactly the English ids, and every
// translation keeps the placeholders its caller fills in.

#include "ResourceLoader.h"
#include "StringTable_rc.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

const std::map<LANGID, const char*> kLanguages = {
    {1033, "English"}, {1031, "German"},     {1034, "Spanish"},
    {1036, "French"},  {1040, "Italian"},    {1041, "Japanese"},
    {1043, "Dutch"},   {1046, "Portuguese"}, {2052, "Chinese"},
};

using Table = std::map<int, std::wstring>; // id -> non-empty text

BOOL CALLBACK CollectBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(name));
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::set<LANGID>*>(param)->insert(lang);
    return TRUE;
}

std::vector<WORD> StringBlocks() {
    std::vector<WORD> blocks;
    EnumResourceNamesW(nullptr, MAKEINTRESOURCEW(6), CollectBlock,
                       reinterpret_cast<LONG_PTR>(&blocks));
    return blocks;
}

// Walks the raw blocks of one language, as the resource compiler laid them out.
Table ReadTable(LANGID lang) {
    Table table;
    for (const WORD block : StringBlocks()) {
        const HRSRC found =
            FindResourceExW(nullptr, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block), lang);
        if (!found) {
            continue;
        }
        const auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(nullptr, found)));
        const WCHAR* const end = entry + SizeofResource(nullptr, found) / sizeof(WCHAR);
        for (int i = 0; i < 16 && entry < end; ++i) {
            if (*entry != 0) {
                table[(block - 1) * 16 + i] = std::wstring(entry + 1, *entry);
            }
            entry += 1 + *entry;
        }
    }
    return table;
}

// printf directives in order, and the ^N arguments as a sorted list (their order may change).
std::vector<std::string> Directives(const std::wstring& text) {
    static const std::wregex directive(
        L"%[-+ #0]*(\\*|[0-9]+)?(\\.(\\*|[0-9]+))?(hh|h|ll|l|L|I64)?[diouxXeEfgGcspn%]");
    std::vector<std::string> found;
    for (auto it = std::wsregex_iterator(text.begin(), text.end(), directive);
         it != std::wsregex_iterator(); ++it) {
        const std::wstring match = it->str();
        if (match != L"%%") {
            found.emplace_back(match.begin(), match.end()); // directives are plain ASCII
        }
    }
    return found;
}

std::multiset<std::wstring> CaretArguments(const std::wstring& text) {
    static const std::wregex caret(L"\\^[0-9]");
    std::multiset<std::wstring> found;
    for (auto it = std::wsregex_iterator(text.begin(), text.end(), caret);
         it != std::wsregex_iterator(); ++it) {
        found.insert(it->str());
    }
    return found;
}

TEST(StringTables, EveryLanguageHasExactlyTheEnglishIds) {
    const Table english = ReadTable(1033);
    ASSERT_FALSE(english.empty());
    std::set<int> englishIds;
    for (const auto& entry : english) {
        englishIds.insert(entry.first);
    }
    for (const auto& language : kLanguages) {
        std::set<int> ids;
        for (const auto& entry : ReadTable(language.first)) {
            ids.insert(entry.first);
        }
        EXPECT_EQ(englishIds, ids) << language.second;
    }
    // No block in a language outside the nine (a stray LANGUAGE statement, say).
    for (const WORD block : StringBlocks()) {
        std::set<LANGID> langs;
        EnumResourceLanguagesW(nullptr, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(block),
                               CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
        for (const LANGID lang : langs) {
            EXPECT_EQ(1u, kLanguages.count(lang)) << "block " << block << ", LANGID " << lang;
        }
    }
}

TEST(StringTables, TranslationsKeepTheCallersArguments) {
    const Table english = ReadTable(1033);
    // Only English passes the AM/PM suffix to the time format.
    const std::map<int, std::vector<std::string>> translatedOnly = {
        {IDS_TIME_FORMAT, {"%d", "%.2d", "%.2d"}},
    };
    for (const auto& language : kLanguages) {
        for (const auto& entry : ReadTable(language.first)) {
            const auto special = translatedOnly.find(entry.first);
            const std::vector<std::string> expected =
                language.first != 1033 && special != translatedOnly.end()
                    ? special->second
                    : Directives(english.at(entry.first));
            EXPECT_EQ(expected, Directives(entry.second)) << language.second << " " << entry.first;
            EXPECT_EQ(CaretArguments(english.at(entry.first)), CaretArguments(entry.second))
                << language.second << " " << entry.first;
        }
    }
}

TEST(StringTables, TextsAsCallersSeeThem) {
    ResourceLoader loader;
    loader.SetLanguageIndex(0);
    EXPECT_EQ("Establishing services with '%s'.", loader.LoadString(IDS_ESTABLISHING_SERVICES));
    EXPECT_EQ("Can't open mailbox \"%s\".\r\n\r\nPlease verify the mailbox name and password.",
              loader.LoadString(IDS_CANNOT_OPEN_MAILBOX));
    EXPECT_EQ("%d:%.2d:%.2d %.2s", loader.LoadString(IDS_TIME_FORMAT));
    EXPECT_EQ("%d/%d/%d", loader.LoadString(IDS_DATE_FORMAT));

    loader.SetLanguageIndex(4);
    EXPECT_EQ("Ger\xe4t", loader.LoadString(IDS_COLUMN_DEVICE)); // Windows-1252
    EXPECT_EQ("Off", loader.LoadString(IDS_SPLIT_OFF));          // doubles as a keyword
    loader.SetLanguageIndex(1);
    EXPECT_EQ("\x83\x4a\x83\x89\x81\x5b", loader.LoadString(IDS_COLOR)); // Shift-JIS
    loader.SetLanguageIndex(9);
    EXPECT_EQ("\xb2\xca\xc9\xab", loader.LoadString(IDS_COLOR)); // GBK

    // Korean and Traditional Chinese have no table of their own: English.
    loader.SetLanguageIndex(7);
    EXPECT_EQ("Scan failed!", loader.LoadString(IDS_SCAN_FAILED));
    loader.SetLanguageIndex(8);
    EXPECT_EQ("Scan failed!", loader.LoadString(IDS_SCAN_FAILED));
}

} // namespace
