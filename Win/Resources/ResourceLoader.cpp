#include "ResourceLoader.h"

#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct LanguageEntry {
    LANGID langId;
    const char* code;
};

// Indexes 7 and 8 have a LANGID but no resources or code of their own.
constexpr LanguageEntry kLanguages[] = {
    {1033, "en"},     // 0 English
    {1041, "ja"},     // 1 Japanese
    {1034, "es"},     // 2 Spanish
    {1036, "fr"},     // 3 French
    {1031, "de"},     // 4 German
    {1040, "it"},     // 5 Italian
    {1046, "pt"},     // 6 Portuguese (Brazil)
    {1042, "en"},     // 7 Korean
    {1028, "en"},     // 8 Traditional Chinese
    {2052, "zh_GBK"}, // 9 Simplified Chinese
    {1043, "nl"},     // 10 Dutch
};
constexpr int kLanguageCount = sizeof(kLanguages) / sizeof(kLanguages[0]);

// RT_STRING and RT_DIALOG, whatever the character set of the build.
constexpr WORD kStringType = 6;
constexpr WORD kDialogType = 5;

constexpr LANGID kNeutralLangId = 0;
constexpr LANGID kEnglishLangId = 1033;

std::unique_ptr<ResourceLoader> g_instance;
ResourceLoader::LanguagePreferenceSource g_preferenceSource;
ResourceLoader::SystemLangIdSource g_systemLangIdSource;

const LanguageEntry& EntryForIndex(int index) {
    return index >= 0 && index < kLanguageCount ? kLanguages[index] : kLanguages[0];
}

LANGID SystemLangId() {
    return g_systemLangIdSource ? g_systemLangIdSource() : GetSystemDefaultLangID();
}

} // namespace

ResourceLoader* ResourceLoader::Instance() {
    if (!g_instance) {
        g_instance = std::make_unique<ResourceLoader>();
        g_instance->ChooseLanguage();
        g_instance->m_languageCode = CodeForIndex(g_instance->m_languageIndex);
    }
    return g_instance.get();
}

void ResourceLoader::SetLanguagePreferenceSource(LanguagePreferenceSource source) {
    g_preferenceSource = std::move(source);
}

void ResourceLoader::SetSystemLangIdSource(SystemLangIdSource source) {
    g_systemLangIdSource = std::move(source);
}

ResourceLoader::ResourceLoader() : m_module(GetModuleHandleA(nullptr)) {}

ResourceLoader::~ResourceLoader() = default;

std::string ResourceLoader::LoadString(int id) const {
    const WORD block = static_cast<WORD>((id >> 4) + 1);
    const HRSRC found = FindResource(MAKEINTRESOURCEA(kStringType), MAKEINTRESOURCEA(block));
    if (!found) {
        return std::string();
    }
    const HGLOBAL loaded = LoadResource(m_module, found);
    if (!loaded) {
        return std::string();
    }
    const auto* entry = static_cast<const WCHAR*>(LockResource(loaded));
    if (!entry) {
        return std::string();
    }
    // Never step past the block, whatever its counts claim.
    const WCHAR* const end = entry + SizeofResource(m_module, found) / sizeof(WCHAR);
    for (int skip = id & 15; skip > 0 && entry < end; --skip) {
        entry += 1 + *entry;
    }
    if (entry >= end || *entry == 0 || entry + 1 + *entry > end) {
        return std::string();
    }
    const int length = *entry;
    const WCHAR* const text = entry + 1;
    const int bytes =
        WideCharToMultiByte(m_codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::vector<char> buffer(static_cast<size_t>(bytes) + 2, '\0');
    WideCharToMultiByte(m_codePage, 0, text, length, buffer.data(), bytes, nullptr, nullptr);
    return std::string(buffer.data());
}

void ResourceLoader::ChooseLanguage() {
    const int preferred = g_preferenceSource ? g_preferenceSource() : -1;
    if (preferred != -1) {
        SetLanguageIndex(preferred);
        return;
    }
    SetLanguageIndex(IndexForSystemLangId(SystemLangId()));
}

int ResourceLoader::GetLanguageIndex() const {
    return m_languageIndex;
}

void ResourceLoader::SetLanguageIndex(int index) {
    m_languageIndex = index;
    m_languageCode = CodeForIndex(index);
    SetLangId(LangIdForIndex(index));
}

std::string ResourceLoader::GetLanguageCode() const {
    return m_languageCode;
}

HMODULE ResourceLoader::GetModule() const {
    return m_module;
}

void ResourceLoader::SetModule(HMODULE module) {
    m_module = module;
}

void ResourceLoader::SetLangId(LANGID langId) {
    if (langId == m_langId) {
        return;
    }
    m_langId = langId;
    char codePage[10] = {};
    if (GetLocaleInfoA(MAKELCID(langId, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, codePage,
                       sizeof(codePage)) > 0) {
        m_codePage = static_cast<UINT>(std::atoi(codePage));
    } else {
        m_codePage = 0;
    }
}

HGLOBAL ResourceLoader::LoadResourceData(int dialogId) const {
    const HRSRC found = FindResource(MAKEINTRESOURCEA(kDialogType), MAKEINTRESOURCEA(dialogId));
    return found ? LoadResource(m_module, found) : nullptr;
}

HRSRC ResourceLoader::FindResource(LPCSTR type, LPCSTR name) const {
    HRSRC found = FindResourceInLanguage(type, name, m_langId);
    if (!found && m_langId != kNeutralLangId) {
        found = FindResourceInLanguage(type, name, kNeutralLangId);
    }
    if (!found && m_langId != kEnglishLangId) {
        found = FindResourceInLanguage(type, name, kEnglishLangId);
    }
    return found;
}

HRSRC ResourceLoader::FindResourceInLanguage(LPCSTR type, LPCSTR name, LANGID langId) const {
    return FindResourceExA(m_module, type, name, langId);
}

HBITMAP ResourceLoader::LoadBitmap(int id) const {
    return LoadBitmapA(m_module, MAKEINTRESOURCEA(id));
}

LANGID ResourceLoader::LangIdForIndex(int index) {
    return EntryForIndex(index).langId;
}

std::string ResourceLoader::CodeForIndex(int index) {
    return EntryForIndex(index).code;
}

int ResourceLoader::IndexForSystemLangId(LANGID langId) {
    switch (PRIMARYLANGID(langId)) {
    case LANG_CHINESE:
        return 9;
    case LANG_GERMAN:
        return 4;
    case LANG_SPANISH:
        return 2;
    case LANG_FRENCH:
        return 3;
    case LANG_ITALIAN:
        return 5;
    case LANG_JAPANESE:
        return 1;
    case LANG_DUTCH:
        return 10;
    case LANG_PORTUGUESE:
        return 6;
    default:
        return 0;
    }
}
