#include "TwainCapInfo.h"

#include "AbstractSource.h"
#include "SafeHandle.h"
#include "TW_Fix32.h"
#include "TW_Enumeration.h"
#include "TW_OneValue.h"
#include "TwainException.h"

#include <algorithm>

namespace {

// The TW_FIX32 range: Whole from -32768 to 32767, Frac up to 65535 / 65536.
double WithinFix32(double value) {
    constexpr double kLargest = 32767.0 + 65535.0 / 65536.0;
    constexpr double kSmallest = -32768.0;
    return std::min(std::max(value, kSmallest), kLargest);
}

AbstractSource& CurrentSource() {
    AbstractSource* source = AbstractSource::Instance();
    if (source == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    return *source;
}

} // namespace

TwainCapInfo::TwainCapInfo(TW_UINT32 flags) : m_flags(flags) {}

TwainCapInfo::~TwainCapInfo() = default;

TW_UINT16 TwainCapInfo::Set(TW_CAPABILITY& capability) {
    // The order of the checks decides the condition code when several fail.
    if (TwainState() != 4) {
        throw TwainException(__FILE__, __LINE__, TWCC_SEQERROR);
    }
    if ((m_flags & FlagSet) == 0) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPBADOPERATION);
    }
    if (capability.hContainer == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BADVALUE);
    }
    // The block stays the application's: locked for the call, never freed here.
    CommonCpp::SafeHandle block(capability.hContainer, 1);
    CommonCpp::HandleLocker lock(block);
    const void* memory = lock.GetPointer();
    const unsigned long size = block.GetSize();
    switch (capability.ConType) {
    case TWON_ARRAY:
        return SetArray(capability, static_cast<const TW_ARRAY*>(memory), size);
    case TWON_ENUMERATION:
        return SetEnumeration(capability, static_cast<const TW_ENUMERATION*>(memory), size);
    case TWON_ONEVALUE:
        return SetOneValue(capability, static_cast<const TW_ONEVALUE*>(memory), size);
    case TWON_RANGE:
        return SetRange(capability, static_cast<const TW_RANGE*>(memory), size);
    default:
        throw TwainException(__FILE__, __LINE__, TWCC_BADCAP);
    }
}

TW_UINT16 TwainCapInfo::DefaultAnswer(TW_UINT32 flag) const {
    if ((m_flags & flag) == 0) {
        throw TwainException(__FILE__, __LINE__, TWCC_CAPBADOPERATION);
    }
    throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
}

TW_UINT16 TwainCapInfo::Reset(TW_CAPABILITY&) {
    return DefaultAnswer(FlagReset);
}

TW_UINT16 TwainCapInfo::Get(TW_CAPABILITY&) {
    return DefaultAnswer(FlagGet);
}

TW_UINT16 TwainCapInfo::GetCurrent(TW_CAPABILITY&) {
    return DefaultAnswer(FlagGetCurrent);
}

TW_UINT16 TwainCapInfo::GetDefault(TW_CAPABILITY&) {
    return DefaultAnswer(FlagGetDefault);
}

TW_UINT16 TwainCapInfo::SetArray(TW_CAPABILITY&, const TW_ARRAY*, unsigned long) {
    throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
}

TW_UINT16 TwainCapInfo::SetOneValue(TW_CAPABILITY&, const TW_ONEVALUE*, unsigned long) {
    throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
}

TW_UINT16 TwainCapInfo::SetEnumeration(TW_CAPABILITY&, const TW_ENUMERATION*, unsigned long) {
    throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
}

TW_UINT16 TwainCapInfo::SetRange(TW_CAPABILITY&, const TW_RANGE*, unsigned long) {
    throw TwainException(__FILE__, __LINE__, TWCC_CAPUNSUPPORTED);
}

CapSupport& TwainCapInfo::Source() {
    return CurrentSource();
}

AbstractSource& TwainCapInfo::SourceObject() {
    return CurrentSource();
}

TW_UINT16 TwainCapInfo::TwainState() {
    return CurrentSource().GetState();
}

TW_UINT16 TwainCapInfo::Answer(TW_CAPABILITY& capability,
                               const CommonTwain::TW_Container& container) {
    // A one-value block holds its item in full after the record's 32-bit slot (a string item
    // does not fit that slot).
    const unsigned size = container.GetConType() == TWON_ONEVALUE
                              ? container.GetContainerSize() + container.GetItemSize()
                              : container.GetTotalSize();
    CommonCpp::SafeHandle block(size, true);
    {
        CommonCpp::HandleLocker lock(block);
        container.WriteTo(lock.GetPointer());
    }
    capability.ConType = container.GetConType();
    capability.hContainer = block.Detach();
    return TWRC_SUCCESS;
}

TW_UINT16 TwainCapInfo::AnswerEnumeration(TW_CAPABILITY& capability,
                                          const CapSupport::ValueList& values, TW_UINT16 current,
                                          TW_UINT16 defaultValue) {
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
    for (TW_UINT32 i = 0; i < values.GetCount(); ++i) {
        if (values.GetAt(i) == current) {
            currentIndex = i;
        }
        if (values.GetAt(i) == defaultValue) {
            defaultIndex = i;
        }
    }
    return Answer(capability,
                  CommonTwain::TW_ENUMERATION_UINT16(values, currentIndex, defaultIndex));
}

TW_UINT16 TwainCapInfo::AnswerUInt16(TW_CAPABILITY& capability, TW_UINT16 value) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_UINT16(value));
}

TW_UINT16 TwainCapInfo::AnswerBool(TW_CAPABILITY& capability, TW_UINT16 value) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_BOOL(value));
}

TW_UINT16 TwainCapInfo::AnswerFix32(TW_CAPABILITY& capability, double value) {
    return Answer(capability, CommonTwain::TW_ONEVALUE_FIX32(WithinFix32(value)));
}

TW_UINT16 TwainCapInfo::AnswerFix32Enumeration(TW_CAPABILITY& capability,
                                               const CommonTwain::SimpleValArray<double>& values,
                                               double current, double defaultValue) {
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
    CommonTwain::SimpleValArray<double> items;
    for (TW_UINT32 i = 0; i < values.GetCount(); ++i) {
        if (values.GetAt(i) == current) {
            currentIndex = i;
        }
        if (values.GetAt(i) == defaultValue) {
            defaultIndex = i;
        }
        items.Append(WithinFix32(values.GetAt(i)));
    }
    return Answer(capability, CommonTwain::TW_ENUMERATION_FIX32(items, currentIndex, defaultIndex));
}

double TwainCapInfo::ReadFix32(const TW_ONEVALUE* memory, unsigned long size) {
    return CommonTwain::Fix32ToDouble(CommonTwain::TW_ONEVALUE_FIX32(memory, size).GetValue());
}

TW_UINT16 TwainCapInfo::ReadLow16(const TW_ONEVALUE* memory, unsigned long size) {
    return CommonTwain::ReadOneValueLow16(memory, size);
}

CapSupport::ValueList TwainCapInfo::ReadUInt16Items(const TW_ENUMERATION* memory,
                                                    unsigned long size) {
    return CommonTwain::TW_ENUMERATION_UINT16(memory, size).GetValues();
}
