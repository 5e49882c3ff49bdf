// Every dialog of the data source exists in each of the nine interface languages, with the
// same controls (ids, in the same order) as the English template, and in no other language.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::map<LANGID, const char*> kLanguages = {
    {1033, "English"}, {1031, "German"},     {1034, "Spanish"},
    {1036, "French"},  {1040, "Italian"},    {1041, "Japanese"},
    {1043, "Dutch"},   {1046, "Portuguese"}, {2052, "Chinese"},
};

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(name));
    }
    return TRUE;
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
    reinterpret_cast<std::set<LANGID>*>(param)->insert(lang);
    return TRUE;
}

// Reads a DLGTEMPLATE or DLGTEMPLATEEX resource far enough to list its controls' ids.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : m_data(data), m_end(data + size) {}

    bool ControlIds(std::vector<uint32_t>& ids) {
        const bool extended = Word(0) == 1 && Word(2) == 0xFFFF;
        uint32_t style = 0;
        uint16_t count = 0;
        if (extended) {
            m_at = m_data + 8; // version, signature, help id
            Skip(4);           // extended style
            style = Dword();
            count = ReadWord();
        } else {
            style = Dword();
            Skip(4);
            count = ReadWord();
        }
        Skip(8);             // x, y, cx, cy
        SkipNameOrOrdinal(); // menu
        SkipNameOrOrdinal(); // class
        SkipString();        // title
        if ((style & DS_SETFONT) != 0) {
            Skip(extended ? 6 : 2); // size (weight, italic, charset)
            SkipString();
        }
        for (uint16_t i = 0; i < count && m_ok; ++i) {
            Align();
            uint32_t id = 0;
            if (extended) {
                Skip(12); // help id, extended style, style
                Skip(8);
                id = Dword();
            } else {
                Skip(8);
                Skip(8);
                id = ReadWord();
            }
            SkipNameOrOrdinal();
            SkipNameOrOrdinal();
            Skip(ReadWord());
            ids.push_back(id);
        }
        return m_ok;
    }

private:
    uint16_t Word(size_t offset) const {
        return m_data + offset + 2 <= m_end ? *reinterpret_cast<const uint16_t*>(m_data + offset)
                                            : 0;
    }
    void Skip(size_t bytes) {
        if (m_at + bytes > m_end) {
            m_ok = false;
            m_at = m_end;
            return;
        }
        m_at += bytes;
    }
    uint16_t ReadWord() {
        const BYTE* const at = m_at;
        Skip(2);
        return m_ok ? *reinterpret_cast<const uint16_t*>(at) : 0;
    }
    uint32_t Dword() {
        const BYTE* const at = m_at;
        Skip(4);
        return m_ok ? *reinterpret_cast<const uint32_t*>(at) : 0;
    }
    void SkipString() {
        while (m_ok && ReadWord() != 0) {
        }
    }
    void SkipNameOrOrdinal() {
        const uint16_t first = ReadWord();
        if (first == 0xFFFF) {
            Skip(2);
        } else if (first != 0) {
            SkipString();
        }
    }
    void Align() {
        const size_t offset = static_cast<size_t>(m_at - m_data);
        Skip((4 - offset % 4) % 4);
    }

    const BYTE* m_data;
    const BYTE* m_end;
    const BYTE* m_at = nullptr;
    bool m_ok = true;
};

bool ReadControlIds(WORD dialog, LANGID lang, std::vector<uint32_t>& ids) {
    const HRSRC found =
        FindResourceExW(nullptr, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(dialog), lang);
    if (found == nullptr) {
        return false;
    }
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    return TemplateReader(data, SizeofResource(nullptr, found)).ControlIds(ids);
}

} // namespace

TEST(DialogTemplates, EveryDialogHasTheEnglishControlsInEveryLanguage) {
    std::vector<WORD> dialogs;
    EnumResourceNamesW(nullptr, MAKEINTRESOURCEW(5), CollectDialog,
                       reinterpret_cast<LONG_PTR>(&dialogs));
    ASSERT_FALSE(dialogs.empty());
    for (const WORD dialog : dialogs) {
        std::vector<uint32_t> english;
        ASSERT_TRUE(ReadControlIds(dialog, 1033, english)) << "dialog " << dialog;
        EXPECT_FALSE(english.empty()) << "dialog " << dialog;
        for (const auto& language : kLanguages) {
            std::vector<uint32_t> ids;
            EXPECT_TRUE(ReadControlIds(dialog, language.first, ids))
                << "dialog " << dialog << " missing in " << language.second;
            EXPECT_EQ(english, ids) << "dialog " << dialog << " in " << language.second;
        }
        std::set<LANGID> langs;
        EnumResourceLanguagesW(nullptr, MAKEINTRESOURCEW(5), MAKEINTRESOURCEW(dialog),
                               CollectLanguage, reinterpret_cast<LONG_PTR>(&langs));
        for (const LANGID lang : langs) {
            EXPECT_EQ(1u, kLanguages.count(lang)) << "dialog " << dialog << ", LANGID " << lang;
        }
    }
}
