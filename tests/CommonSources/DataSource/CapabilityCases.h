#pragma once
// One table of capability negotiation as an application meets it: capability, message,
// container handed over and TWAIN state, with the return code, the condition code and the
// decoded answer. The rows run in order against one open source, each on the values the rows
// before it left, so the same table checks a source called directly and one behind the source
// manager.

#include "TwainTestApp.h"

#include <functional>
#include <string>
#include <vector>

// What the application passes in pData.
struct CapContainer {
    enum class Kind {
        NoData,     // pData null
        Empty,      // a TW_CAPABILITY without a container, as for the reading messages
        Container,  // a container of conType holding the items
        NullHandle, // conType named, hContainer null
    };
    Kind kind = Kind::Empty;
    TW_UINT16 conType = 0;
    TW_UINT16 itemType = 0;
    std::vector<TW_UINT32> items;
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
};

// The container the source answers with; conType 0 expects none, the TW_CAPABILITY left as
// the application filled it. Items of a one-value are its 32-bit Item; a TW_FIX32 item is its
// 32 bits as they lie in memory (Whole in the low half, Frac in the high half). A TWTY_STR255
// one-value holds its text instead.
struct CapAnswer {
    TW_UINT16 conType = 0;
    TW_UINT16 itemType = 0;
    std::vector<TW_UINT32> items;
    TW_UINT32 currentIndex = 0;
    TW_UINT32 defaultIndex = 0;
    std::string text;
};

struct CapCase {
    std::string note;
    TW_UINT16 state;
    TW_UINT16 cap;
    TW_UINT16 msg;
    CapContainer given;
    TW_UINT16 rc;
    TW_UINT16 cc;
    CapAnswer answer;
};

CapContainer NoData();
CapContainer Empty();
CapContainer OneValue(TW_UINT16 itemType, TW_UINT32 item);
CapContainer Enumeration(TW_UINT16 itemType, std::vector<TW_UINT32> items,
                         TW_UINT32 currentIndex = 0, TW_UINT32 defaultIndex = 0);
CapContainer Array(TW_UINT16 itemType, std::vector<TW_UINT32> items);
CapContainer Range(TW_UINT16 itemType);
// A container record of a type TWAIN does not define, holding a one-value.
CapContainer UnknownForm(TW_UINT16 conType);
CapContainer NullHandle(TW_UINT16 conType);

CapAnswer NoAnswer();
CapAnswer OneValueAnswer(TW_UINT16 itemType, TW_UINT32 item);
CapAnswer UInt16Enumeration(std::vector<TW_UINT32> items, TW_UINT32 currentIndex,
                            TW_UINT32 defaultIndex);
CapAnswer UInt16ArrayAnswer(std::vector<TW_UINT32> items);
CapAnswer BoolAnswer(TW_UINT16 value);
CapAnswer TextAnswer(const std::string& text);
CapAnswer Fix32Answer(TW_UINT32 item);
CapAnswer Fix32Enumeration(std::vector<TW_UINT32> items, TW_UINT32 currentIndex,
                           TW_UINT32 defaultIndex);

// A TW_FIX32 as a container item.
TW_UINT32 Fix32Item(TW_INT16 whole, TW_UINT16 frac);
// value x 65536 rounded half away from zero, kept within the TW_FIX32 range.
TW_UINT32 Fix32Of(double value);
double Fix32Value(TW_UINT32 item);

// The cases for a newly opened source of an application that has nothing remembered.
std::vector<CapCase> CapabilityNegotiationCases();

// Sends one triplet with the container and decodes the container the source answers with into
// answer (none when the TW_CAPABILITY came back as it went); frees every block.
TW_UINT16 CallCapability(TwainTestApp& app, TW_UINT16 cap, TW_UINT16 msg, const CapContainer& given,
                         CapAnswer& answer);

// Runs the cases in order. enterState puts the open source into a TWAIN state and returns
// false where the caller cannot; such cases are left out. The source ends in state 4.
void RunCapabilityCases(TwainTestApp& app, const std::vector<CapCase>& cases,
                        const std::function<bool(TW_UINT16)>& enterState);

// MSG_GETCURRENT of a TW_UINT16 capability; 0xffffffff when it fails.
TW_UINT32 CurrentValue(TwainTestApp& app, TW_UINT16 cap);
// MSG_SET of a TW_UINT16 one-value.
TW_UINT16 SetValue(TwainTestApp& app, TW_UINT16 cap, TW_UINT16 value);
