#include "TwainCapInfo_CAP_FEEDERLOADED.h"

#include "AbstractSource.h"
#include "ScanServerCapabilities.h"
#include "TwainException.h"

namespace {

bool Answers(AbstractSource& source) {
    return source.GetServerCapabilities().SupportsAdf() && source.GetFeederEnabled() != 0;
}

} // namespace

TwainCapInfo_CAP_FEEDERLOADED::TwainCapInfo_CAP_FEEDERLOADED()
    : TwainCapInfo(FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_FEEDERLOADED::~TwainCapInfo_CAP_FEEDERLOADED() = default;

TW_INT32 TwainCapInfo_CAP_FEEDERLOADED::GetSupportedOperations() const {
    AbstractSource* const source = AbstractSource::Instance();
    return source != nullptr && Answers(*source) ? TWQC_GET | TWQC_GETDEFAULT | TWQC_GETCURRENT : 0;
}

TW_UINT16 TwainCapInfo_CAP_FEEDERLOADED::Get(TW_CAPABILITY& capability) {
    if (!Answers(SourceObject())) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    return AnswerBool(capability, TRUE);
}
