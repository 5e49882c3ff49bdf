// Every dialog of the data source exists in each of the nine interface languages, with the
// same controls (ids, in the same order) as the English template, and in no other language.

#include "DialogTemplateReader.h"

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

bool ReadControlIds(WORD dialog, LANGID lang, std::vector<uint32_t>& ids) {
    std::vector<guitest::TemplateControl> controls;
    if (!guitest::ReadTemplateControls(nullptr, dialog, lang, controls)) {
        return false;
    }
    for (const guitest::TemplateControl& control : controls) {
        ids.push_back(control.id);
    }
    return true;
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
