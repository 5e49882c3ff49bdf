#include "TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION.h"

#include "AbstractSource.h"
#include "ScanServerCapabilities.h"
#include "TwainException.h"

namespace {

bool Readable(AbstractSource& source) {
    return source.GetUndefinedImageSize() != 0;
}

bool Settable(AbstractSource& source) {
    return Readable(source) && source.GetServerCapabilities().SupportsAutoPageSize();
}

} // namespace

TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION::TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION()
    : TwainCapInfo(FlagSet | FlagGet | FlagGetCurrent) {}

TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION::~TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION() = default;

TW_INT32 TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION::GetSupportedOperations() const {
    AbstractSource* const source = AbstractSource::Instance();
    if (source == nullptr || !Readable(*source)) {
        return 0;
    }
    const TW_INT32 reads = TWQC_GET | TWQC_GETCURRENT;
    return Settable(*source) ? reads | TWQC_SET : reads;
}

TW_UINT16 TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION::Get(TW_CAPABILITY& capability) {
    AbstractSource& source = SourceObject();
    if (!Readable(source)) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    return AnswerBool(capability, source.GetAutomaticBorderDetection());
}

TW_UINT16 TwainCapInfo_ICAP_AUTOMATICBORDERDETECTION::SetOneValue(TW_CAPABILITY&,
                                                                  const TW_ONEVALUE* memory,
                                                                  unsigned long size) {
    AbstractSource& source = SourceObject();
    if (!Settable(source)) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
    }
    source.SetAutomaticBorderDetection(ReadLow16(memory, size));
    return TWRC_SUCCESS;
}
