#include "Localizer.h"

#include "QuorvelWrapperIntf.h"
#include "ResourceLoader.h"
#include "ScanStrings.h"
#include "StringTable_rc.h"

Localizer::Localizer(QuorvelWrapperIntf* wrapper, bool buildTable)
    : m_wrapper(wrapper), m_table(std::make_unique<std::map<std::string, std::string>>()) {
    const std::string languageCode = ResourceLoader::Instance()->GetLanguageCode();
    const std::string encoding = languageCode == "ja" ? "SJIS" : "ISO8859_1";
    // Without a session every server lookup fails and the table answers.
    if (m_wrapper) {
        m_wrapper->LoclOpenSession(languageCode, encoding);
    }
    if (buildTable) {
        BuildTable();
    }
}

Localizer::~Localizer() {
    if (m_wrapper) {
        m_wrapper->LoclCloseSession();
    }
}

void Localizer::BuildTable() {
    using namespace ScanConstStrings;
    using namespace ScanSettingStrings;
    // In order of insertion; an earlier entry is never replaced.
    const std::pair<std::string, int> keywords[] = {
        {"ADF", IDS_SOURCE_ADF},
        {"PLATEN", IDS_SOURCE_PLATEN},
        {ColorModeBlackWhite, IDS_BLACK_AND_WHITE},
        {ColorModeColor, IDS_COLOR},
        {ColorModeGrayscale, IDS_GRAYSCALE},
        {ColorModeGreyscale, IDS_GRAYSCALE},
        {"LEGAL", IDS_PAGE_LEGAL},
        {"Legal", IDS_PAGE_LEGAL},
        {PaperLetterTransverse, IDS_PAGE_LETTER},
        {"LETTER", IDS_PAGE_LETTER},
        {PaperLetR, IDS_PAGE_LETTER_R},
        {"LETTER-R", IDS_PAGE_LETTER_R},
        {PaperLetterR, IDS_PAGE_LETTERR},
        {"LETTERR", IDS_PAGE_LETTERR},
        {PaperTabloid, IDS_PAGE_TABLOID},
        {"TABLOID", IDS_PAGE_TABLOID},
        {PaperA4Transverse, IDS_PAGE_A4},
        {"A4", IDS_PAGE_A4},
        {PaperA4R, IDS_PAGE_A4_R},
        {"A4-R", IDS_PAGE_A4_R},
        {"A3", IDS_PAGE_A3},
        {PageSizeCustom, IDS_PAGE_CUSTOM},
        {PageSizeAuto, IDS_PAGE_SIZE_AUTO},
        {ModeAuto, IDS_AUTO},
        {OrientationPortrait, IDS_PORTRAIT},
        {OrientationLandscape, IDS_LANDSCAPE},
        {PaperStatement, IDS_PAGE_STATEMENT},
        {PaperStatementR, IDS_PAGE_STATEMENT_R},
    };
    ResourceLoader* const loader = ResourceLoader::Instance();
    for (const auto& [keyword, stringId] : keywords) {
        m_table->emplace(keyword, loader->LoadString(stringId));
    }
}

std::string Localizer::GetString(const std::string& key) {
    std::string text;
    if (m_wrapper && m_wrapper->LoclGetString(key, text) == 0 && !text.empty()) {
        return text;
    }
    const auto found = m_table->find(key);
    if (found != m_table->end() && !found->second.empty()) {
        return found->second;
    }
    return key;
}
