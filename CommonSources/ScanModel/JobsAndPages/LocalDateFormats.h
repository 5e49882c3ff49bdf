#pragma once
// The date and time formats of the current interface language, for TwainDateTime's localized
// texts.

#include "TwainDateTime.h"

// From the resource loader: string 20156 (time), string 20157 (date) and the language index;
// a missing text is replaced by the English one.
CommonTwain::TwainDateFormats LocalDateFormats();
