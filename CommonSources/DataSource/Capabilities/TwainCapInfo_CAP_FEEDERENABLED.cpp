#include "TwainCapInfo_CAP_FEEDERENABLED.h"

#include "AbstractSource.h"
#include "ScanServerCapabilities.h"
#include "TwainException.h"

namespace {

// Asked at every call, never remembered from the connection.
bool HasFeeder(AbstractSource& source) {
    return source.GetServerCapabilities().SupportsAdf();
}

} // namespace

TwainCapInfo_CAP_FEEDERENABLED::TwainCapInfo_CAP_FEEDERENABLED()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent | FlagGetDefault) {}

TwainCapInfo_CAP_FEEDERENABLED::~TwainCapInfo_CAP_FEEDERENABLED() = default;

TW_INT32 TwainCapInfo_CAP_FEEDERENABLED::GetSupportedOperations() const {
    AbstractSource* const source = AbstractSource::Instance();
    return source != nullptr && HasFeeder(*source)
               ? TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT
               : 0;
}

TW_UINT16 TwainCapInfo_CAP_FEEDERENABLED::Get(TW_CAPABILITY& capability) {
    AbstractSource& source = SourceObject();
    if (!HasFeeder(source)) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    return AnswerBool(capability, source.GetFeederEnabled());
}

TW_UINT16 TwainCapInfo_CAP_FEEDERENABLED::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE* memory,
                                                      unsigned long size) {
    AbstractSource& source = SourceObject();
    if (!HasFeeder(source)) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    source.SetFeederEnabled(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
