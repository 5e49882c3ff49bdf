#include "TwainCapInfo_Unsupported.h"

TwainCapInfo_Unsupported::TwainCapInfo_Unsupported() : TwainCapInfo(FlagsAll) {}

TwainCapInfo_Unsupported::~TwainCapInfo_Unsupported() = default;

TW_INT32 TwainCapInfo_Unsupported::GetSupportedOperations() const {
    return 0;
}
