#include "TwainCapInfo_CAP_AUTOFEED.h"

#include "AbstractSource.h"
#include "ScanServerCapabilities.h"
#include "TwainException.h"

namespace {

bool Answers(AbstractSource& source) {
    return source.GetServerCapabilities().SupportsAdf();
}

} // namespace

TwainCapInfo_CAP_AUTOFEED::TwainCapInfo_CAP_AUTOFEED()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_AUTOFEED::~TwainCapInfo_CAP_AUTOFEED() = default;

TW_INT32 TwainCapInfo_CAP_AUTOFEED::GetSupportedOperations() const {
    AbstractSource* const source = AbstractSource::Instance();
    return source != nullptr && Answers(*source) ? TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT : 0;
}

TW_UINT16 TwainCapInfo_CAP_AUTOFEED::Get(TW_CAPABILITY& capability) {
    if (!Answers(SourceObject())) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    return AnswerBool(capability, TRUE);
}
