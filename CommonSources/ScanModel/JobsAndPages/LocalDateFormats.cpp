#include "LocalDateFormats.h"

#include "ResourceLoader.h"
#include "StringTable_rc.h"

CommonTwain::TwainDateFormats LocalDateFormats() {
    const ResourceLoader* loader = ResourceLoader::Instance();
    CommonTwain::TwainDateFormats formats = CommonTwain::TwainDateFormats::English();
    const std::string time = loader->LoadString(IDS_TIME_FORMAT);
    const std::string date = loader->LoadString(IDS_DATE_FORMAT);
    if (!time.empty()) {
        formats.timeFormat = time;
    }
    if (!date.empty()) {
        formats.dateFormat = date;
    }
    formats.languageIndex = loader->GetLanguageIndex();
    return formats;
}
