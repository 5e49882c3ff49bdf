#include "CapabilityCases.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <sstream>

namespace {

using Kind = CapContainer::Kind;

template <typename T> void Put(unsigned char* memory, std::size_t offset, T value) {
    std::memcpy(memory + offset, &value, sizeof value);
}

template <typename T> T Take(const unsigned char* memory, std::size_t offset) {
    T value;
    std::memcpy(&value, memory + offset, sizeof value);
    return value;
}

// TW_FIX32 and the other 32-bit items are written 32 bits wide, all others 16 bits.
std::size_t GivenItemSize(TW_UINT16 itemType) {
    return itemType == TWTY_FIX32 || itemType == TWTY_INT32 || itemType == TWTY_UINT32 ? 4 : 2;
}

void PutItem(unsigned char* memory, std::size_t offset, TW_UINT16 itemType, TW_UINT32 item) {
    if (GivenItemSize(itemType) == 4) {
        Put<TW_UINT32>(memory, offset, item);
    } else {
        Put<TW_UINT16>(memory, offset, static_cast<TW_UINT16>(item));
    }
}

HGLOBAL MakeContainer(const CapContainer& given) {
    const std::size_t itemSize = GivenItemSize(given.itemType);
    std::size_t size = 0;
    switch (given.conType) {
    case TWON_ENUMERATION:
        size = offsetof(TW_ENUMERATION, ItemList) + itemSize * given.items.size();
        break;
    case TWON_ARRAY:
        size = offsetof(TW_ARRAY, ItemList) + itemSize * given.items.size();
        break;
    case TWON_RANGE:
        size = sizeof(TW_RANGE);
        break;
    default:
        size = sizeof(TW_ONEVALUE);
        break;
    }
    HGLOBAL handle = GlobalAlloc(GHND, size);
    auto* memory = static_cast<unsigned char*>(GlobalLock(handle));
    switch (given.conType) {
    case TWON_ENUMERATION:
        Put<TW_UINT16>(memory, offsetof(TW_ENUMERATION, ItemType), given.itemType);
        Put<TW_UINT32>(memory, offsetof(TW_ENUMERATION, NumItems),
                       static_cast<TW_UINT32>(given.items.size()));
        Put<TW_UINT32>(memory, offsetof(TW_ENUMERATION, CurrentIndex), given.currentIndex);
        Put<TW_UINT32>(memory, offsetof(TW_ENUMERATION, DefaultIndex), given.defaultIndex);
        for (std::size_t i = 0; i < given.items.size(); ++i) {
            PutItem(memory, offsetof(TW_ENUMERATION, ItemList) + itemSize * i, given.itemType,
                    given.items[i]);
        }
        break;
    case TWON_ARRAY:
        Put<TW_UINT16>(memory, offsetof(TW_ARRAY, ItemType), given.itemType);
        Put<TW_UINT32>(memory, offsetof(TW_ARRAY, NumItems),
                       static_cast<TW_UINT32>(given.items.size()));
        for (std::size_t i = 0; i < given.items.size(); ++i) {
            PutItem(memory, offsetof(TW_ARRAY, ItemList) + itemSize * i, given.itemType,
                    given.items[i]);
        }
        break;
    case TWON_RANGE:
        Put<TW_UINT16>(memory, offsetof(TW_RANGE, ItemType), given.itemType);
        Put<TW_UINT32>(memory, offsetof(TW_RANGE, StepSize), 1);
        break;
    default:
        Put<TW_UINT16>(memory, offsetof(TW_ONEVALUE, ItemType), given.itemType);
        Put<TW_UINT32>(memory, offsetof(TW_ONEVALUE, Item),
                       given.items.empty() ? 0 : given.items[0]);
        break;
    }
    GlobalUnlock(handle);
    return handle;
}

// Bytes of one item of the numeric types; items of other types are counted, not read.
std::size_t NumericItemSize(TW_UINT16 itemType) {
    switch (itemType) {
    case TWTY_INT8:
    case TWTY_UINT8:
        return 1;
    case TWTY_INT16:
    case TWTY_UINT16:
    case TWTY_BOOL:
        return 2;
    case TWTY_INT32:
    case TWTY_UINT32:
    case TWTY_FIX32:
        return 4;
    default:
        return 0;
    }
}

TW_UINT32 TakeItem(const unsigned char* memory, std::size_t offset, std::size_t size) {
    switch (size) {
    case 1:
        return Take<TW_UINT8>(memory, offset);
    case 2:
        return Take<TW_UINT16>(memory, offset);
    default:
        return Take<TW_UINT32>(memory, offset);
    }
}

// Reads the answer block; a block too small for what it claims to hold fails the test.
void Decode(HGLOBAL handle, TW_UINT16 conType, CapAnswer& answer) {
    answer.conType = conType;
    const SIZE_T size = GlobalSize(handle);
    const auto* memory = static_cast<const unsigned char*>(GlobalLock(handle));
    ASSERT_NE(nullptr, memory);
    std::size_t itemsOffset = 0;
    TW_UINT32 count = 0;
    if (conType == TWON_ONEVALUE && size >= sizeof(TW_ONEVALUE)) {
        answer.itemType = Take<TW_UINT16>(memory, offsetof(TW_ONEVALUE, ItemType));
        if (answer.itemType == TWTY_STR255) {
            // The text lies where Item starts, terminated within its 256 bytes.
            const std::size_t at = offsetof(TW_ONEVALUE, Item);
            EXPECT_GE(size, at + sizeof(TW_STR255)) << "a text answer holds a whole TW_STR255";
            const char* text = reinterpret_cast<const char*>(memory + at);
            const std::size_t room = size > at ? std::min<std::size_t>(size - at, 256) : 0;
            answer.text.assign(text, strnlen(text, room));
        } else {
            answer.items = {Take<TW_UINT32>(memory, offsetof(TW_ONEVALUE, Item))};
        }
    } else if (conType == TWON_ENUMERATION && size >= offsetof(TW_ENUMERATION, ItemList)) {
        answer.itemType = Take<TW_UINT16>(memory, offsetof(TW_ENUMERATION, ItemType));
        count = Take<TW_UINT32>(memory, offsetof(TW_ENUMERATION, NumItems));
        answer.currentIndex = Take<TW_UINT32>(memory, offsetof(TW_ENUMERATION, CurrentIndex));
        answer.defaultIndex = Take<TW_UINT32>(memory, offsetof(TW_ENUMERATION, DefaultIndex));
        itemsOffset = offsetof(TW_ENUMERATION, ItemList);
    } else if (conType == TWON_ARRAY && size >= offsetof(TW_ARRAY, ItemList)) {
        answer.itemType = Take<TW_UINT16>(memory, offsetof(TW_ARRAY, ItemType));
        count = Take<TW_UINT32>(memory, offsetof(TW_ARRAY, NumItems));
        itemsOffset = offsetof(TW_ARRAY, ItemList);
    } else {
        ADD_FAILURE() << "answer of container type " << conType << " in " << size << " bytes";
    }
    const std::size_t itemSize = NumericItemSize(answer.itemType);
    if (itemsOffset != 0 && itemSize != 0) {
        EXPECT_GE(size, itemsOffset + itemSize * count) << "items beyond the block";
        for (TW_UINT32 i = 0; i < count && itemsOffset + itemSize * (i + 1) <= size; ++i) {
            answer.items.push_back(TakeItem(memory, itemsOffset + itemSize * i, itemSize));
        }
    }
    GlobalUnlock(handle);
}

std::string Describe(const CapAnswer& answer) {
    std::ostringstream text;
    text << "ConType " << answer.conType << ", ItemType " << answer.itemType << ", items {";
    for (std::size_t i = 0; i < answer.items.size(); ++i) {
        text << (i > 0 ? ", " : "");
        if (answer.itemType == TWTY_FIX32) {
            // Whole:Frac, with the value it stands for.
            const TW_UINT32 item = answer.items[i];
            text << static_cast<TW_INT16>(item & 0xffff) << ":" << (item >> 16) << " ("
                 << Fix32Value(item) << ")";
        } else {
            text << answer.items[i];
        }
    }
    text << "}";
    if (answer.itemType == TWTY_STR255) {
        text << ", text \"" << answer.text << "\"";
    }
    if (answer.conType == TWON_ENUMERATION) {
        text << ", CurrentIndex " << answer.currentIndex << ", DefaultIndex "
             << answer.defaultIndex;
    }
    return text.str();
}

CapContainer MakeGiven(Kind kind, TW_UINT16 conType, TW_UINT16 itemType,
                       std::vector<TW_UINT32> items) {
    CapContainer given;
    given.kind = kind;
    given.conType = conType;
    given.itemType = itemType;
    given.items = std::move(items);
    return given;
}

} // namespace

CapContainer NoData() {
    return MakeGiven(Kind::NoData, 0, 0, {});
}

CapContainer Empty() {
    return MakeGiven(Kind::Empty, TWON_DONTCARE16, 0, {});
}

CapContainer OneValue(TW_UINT16 itemType, TW_UINT32 item) {
    return MakeGiven(Kind::Container, TWON_ONEVALUE, itemType, {item});
}

CapContainer Enumeration(TW_UINT16 itemType, std::vector<TW_UINT32> items, TW_UINT32 currentIndex,
                         TW_UINT32 defaultIndex) {
    CapContainer given = MakeGiven(Kind::Container, TWON_ENUMERATION, itemType, std::move(items));
    given.currentIndex = currentIndex;
    given.defaultIndex = defaultIndex;
    return given;
}

CapContainer Array(TW_UINT16 itemType, std::vector<TW_UINT32> items) {
    return MakeGiven(Kind::Container, TWON_ARRAY, itemType, std::move(items));
}

CapContainer Range(TW_UINT16 itemType) {
    return MakeGiven(Kind::Container, TWON_RANGE, itemType, {});
}

CapContainer UnknownForm(TW_UINT16 conType) {
    return MakeGiven(Kind::Container, conType, TWTY_UINT16, {0});
}

CapContainer NullHandle(TW_UINT16 conType) {
    return MakeGiven(Kind::NullHandle, conType, 0, {});
}

CapAnswer NoAnswer() {
    return CapAnswer{};
}

CapAnswer OneValueAnswer(TW_UINT16 itemType, TW_UINT32 item) {
    CapAnswer answer;
    answer.conType = TWON_ONEVALUE;
    answer.itemType = itemType;
    answer.items = {item};
    return answer;
}

CapAnswer UInt16Enumeration(std::vector<TW_UINT32> items, TW_UINT32 currentIndex,
                            TW_UINT32 defaultIndex) {
    CapAnswer answer;
    answer.conType = TWON_ENUMERATION;
    answer.itemType = TWTY_UINT16;
    answer.items = std::move(items);
    answer.currentIndex = currentIndex;
    answer.defaultIndex = defaultIndex;
    return answer;
}

CapAnswer UInt16ArrayAnswer(std::vector<TW_UINT32> items) {
    CapAnswer answer;
    answer.conType = TWON_ARRAY;
    answer.itemType = TWTY_UINT16;
    answer.items = std::move(items);
    return answer;
}

CapAnswer BoolAnswer(TW_UINT16 value) {
    return OneValueAnswer(TWTY_BOOL, value);
}

CapAnswer TextAnswer(const std::string& text) {
    CapAnswer answer;
    answer.conType = TWON_ONEVALUE;
    answer.itemType = TWTY_STR255;
    answer.text = text;
    return answer;
}

CapAnswer Fix32Answer(TW_UINT32 item) {
    return OneValueAnswer(TWTY_FIX32, item);
}

CapAnswer Fix32Enumeration(std::vector<TW_UINT32> items, TW_UINT32 currentIndex,
                           TW_UINT32 defaultIndex) {
    CapAnswer answer = UInt16Enumeration(std::move(items), currentIndex, defaultIndex);
    answer.itemType = TWTY_FIX32;
    return answer;
}

TW_UINT32 Fix32Item(TW_INT16 whole, TW_UINT16 frac) {
    return static_cast<TW_UINT16>(whole) | (static_cast<TW_UINT32>(frac) << 16);
}

TW_UINT32 Fix32Of(double value) {
    const long long scaled =
        std::min(std::max(std::llround(value * 65536.0), -2147483648LL), 2147483647LL);
    const auto bits = static_cast<TW_UINT32>(scaled);
    return Fix32Item(static_cast<TW_INT16>(bits >> 16), static_cast<TW_UINT16>(bits & 0xffff));
}

double Fix32Value(TW_UINT32 item) {
    return static_cast<TW_INT16>(item & 0xffff) + (item >> 16) / 65536.0;
}

TW_UINT16 CallCapability(TwainTestApp& app, TW_UINT16 cap, TW_UINT16 msg, const CapContainer& given,
                         CapAnswer& answer) {
    answer = CapAnswer{};
    if (given.kind == Kind::NoData) {
        return app.Call(DG_CONTROL, DAT_CAPABILITY, msg, nullptr);
    }
    HGLOBAL container = given.kind == Kind::Container ? MakeContainer(given) : nullptr;
    TW_CAPABILITY capability = {};
    capability.Cap = cap;
    capability.ConType = given.conType;
    capability.hContainer = container;
    const TW_UINT16 rc = app.Call(DG_CONTROL, DAT_CAPABILITY, msg, &capability);
    EXPECT_EQ(cap, capability.Cap);
    if (capability.hContainer != container) {
        Decode(capability.hContainer, capability.ConType, answer);
        GlobalFree(capability.hContainer);
    } else {
        // No answer: the application's TW_CAPABILITY is as it filled it.
        EXPECT_EQ(given.conType, capability.ConType);
    }
    if (container != nullptr) {
        GlobalFree(container);
    }
    return rc;
}

void RunCapabilityCases(TwainTestApp& app, const std::vector<CapCase>& cases,
                        const std::function<bool(TW_UINT16)>& enterState) {
    int run = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const CapCase& row = cases[i];
        if (!enterState(row.state)) {
            continue;
        }
        ++run;
        std::ostringstream trace;
        trace << "case " << i << " (" << row.note << "): cap 0x" << std::hex << row.cap << " msg "
              << std::dec << row.msg << " in state " << row.state;
        SCOPED_TRACE(trace.str());
        CapAnswer answer;
        EXPECT_TWAIN(app, row.rc, row.cc, CallCapability(app, row.cap, row.msg, row.given, answer));
        EXPECT_EQ(Describe(row.answer), Describe(answer));
    }
    enterState(4);
    EXPECT_GT(run, 0);
}

TW_UINT32 CurrentValue(TwainTestApp& app, TW_UINT16 cap) {
    CapAnswer answer;
    if (CallCapability(app, cap, MSG_GETCURRENT, Empty(), answer) != TWRC_SUCCESS ||
        answer.items.size() != 1) {
        return 0xffffffff;
    }
    return answer.items[0];
}

TW_UINT16 SetValue(TwainTestApp& app, TW_UINT16 cap, TW_UINT16 value) {
    CapAnswer answer;
    return CallCapability(app, cap, MSG_SET, OneValue(TWTY_UINT16, value), answer);
}

std::vector<CapCase> CapabilityNegotiationCases() {
    constexpr TW_UINT16 ok = TWRC_SUCCESS;
    constexpr TW_UINT16 failed = TWRC_FAILURE;
    constexpr TW_UINT16 none = TWCC_SUCCESS;
    constexpr TW_UINT32 minusOne = 0xffffffff; // -1 sign-extended into Item
    const TW_INT32 allFive = TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT | TWQC_RESET;
    const TW_INT32 noReset = TWQC_GET | TWQC_SET | TWQC_GETDEFAULT | TWQC_GETCURRENT;
    const auto u16 = [](TW_UINT32 value) { return OneValue(TWTY_UINT16, value); };
    const auto i16 = [](TW_UINT32 value) { return OneValue(TWTY_INT16, value); };
    const auto is16 = [](TW_UINT32 value) { return OneValueAnswer(TWTY_UINT16, value); };
    const auto isI16 = [](TW_UINT32 value) { return OneValueAnswer(TWTY_INT16, value); };
    const auto mask = [](TW_INT32 value) {
        return OneValueAnswer(TWTY_INT32, static_cast<TW_UINT32>(value));
    };
    const auto list = [](std::vector<TW_UINT32> items, TW_UINT32 current, TW_UINT32 defaultIndex) {
        return UInt16Enumeration(std::move(items), current, defaultIndex);
    };

    return {
        // What MSG_QUERYSUPPORT promises is what the handlers below deliver.
        {"query", 4, ICAP_XFERMECH, MSG_QUERYSUPPORT, Empty(), ok, none, mask(allFive)},
        {"query", 4, ICAP_PIXELFLAVOR, MSG_QUERYSUPPORT, Empty(), ok, none, mask(allFive)},
        {"query", 4, CAP_XFERCOUNT, MSG_QUERYSUPPORT, Empty(), ok, none, mask(allFive)},
        {"query", 4, ICAP_IMAGEFILEFORMAT, MSG_QUERYSUPPORT, Empty(), ok, none, mask(noReset)},
        {"query", 4, ICAP_COMPRESSION, MSG_QUERYSUPPORT, Empty(), ok, none, mask(noReset)},
        {"query named, unserved", 4, ICAP_BRIGHTNESS, MSG_QUERYSUPPORT, Empty(), ok, none, mask(0)},
        {"query unknown", 4, 0x1234, MSG_QUERYSUPPORT, Empty(), ok, none, mask(0)},
        {"query in state 6", 6, ICAP_XFERMECH, MSG_QUERYSUPPORT, Empty(), ok, none, mask(allFive)},

        // The frame: no TW_CAPABILITY, unknown and unserved capabilities, the order of the
        // MSG_SET checks, container forms.
        {"no pData", 4, 0, MSG_QUERYSUPPORT, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"no pData", 4, 0, MSG_GET, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"no pData", 4, 0, MSG_GETCURRENT, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"no pData", 4, 0, MSG_GETDEFAULT, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"no pData", 4, 0, MSG_RESET, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"no pData", 4, 0, MSG_SET, NoData(), failed, TWCC_BADVALUE, NoAnswer()},
        {"unknown", 4, 0x1234, MSG_GET, Empty(), failed, TWCC_BADCAP, NoAnswer()},
        {"unknown", 4, 0x1234, MSG_GETCURRENT, Empty(), failed, TWCC_BADCAP, NoAnswer()},
        {"unknown", 4, 0x1234, MSG_GETDEFAULT, Empty(), failed, TWCC_BADCAP, NoAnswer()},
        {"unknown", 4, 0x1234, MSG_RESET, Empty(), failed, TWCC_BADCAP, NoAnswer()},
        {"unknown set says why", 4, 0x1234, MSG_SET, u16(0), failed, TWCC_BADCAP, NoAnswer()},
        {"unserved", 4, ICAP_BRIGHTNESS, MSG_GET, Empty(), failed, TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"unserved", 4, ICAP_AUTOBRIGHT, MSG_GETCURRENT, Empty(), failed, TWCC_CAPUNSUPPORTED,
         NoAnswer()},
        {"unserved", 4, ICAP_CONTRAST, MSG_GETDEFAULT, Empty(), failed, TWCC_CAPUNSUPPORTED,
         NoAnswer()},
        {"unserved", 4, ICAP_THRESHOLD, MSG_RESET, Empty(), failed, TWCC_CAPUNSUPPORTED,
         NoAnswer()},
        {"unserved", 4, ICAP_BRIGHTNESS, MSG_SET, u16(0), failed, TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"state before flags", 5, ICAP_BRIGHTNESS, MSG_SET, u16(0), failed, TWCC_SEQERROR,
         NoAnswer()},
        {"set in state 3", 3, ICAP_XFERMECH, MSG_SET, u16(0), failed, TWCC_SEQERROR, NoAnswer()},
        {"set in state 6", 6, ICAP_XFERMECH, MSG_SET, u16(0), failed, TWCC_SEQERROR, NoAnswer()},
        {"set in state 7", 7, ICAP_XFERMECH, MSG_SET, u16(0), failed, TWCC_SEQERROR, NoAnswer()},
        {"state before the handle", 5, ICAP_XFERMECH, MSG_SET, NullHandle(TWON_ONEVALUE), failed,
         TWCC_SEQERROR, NoAnswer()},
        {"handle before the form", 4, ICAP_XFERMECH, MSG_SET, NullHandle(7), failed, TWCC_BADVALUE,
         NoAnswer()},
        {"no such form", 4, ICAP_XFERMECH, MSG_SET, UnknownForm(7), failed, TWCC_BADCAP,
         NoAnswer()},
        {"range", 4, ICAP_XFERMECH, MSG_SET, Range(TWTY_UINT16), failed, TWCC_CAPUNSUPPORTED,
         NoAnswer()},
        {"array", 4, ICAP_XFERMECH, MSG_SET, Array(TWTY_UINT16, {0}), failed, TWCC_CAPUNSUPPORTED,
         NoAnswer()},
        {"one value only", 4, CAP_XFERCOUNT, MSG_SET, Enumeration(TWTY_INT16, {1}), failed,
         TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"no reset", 4, ICAP_IMAGEFILEFORMAT, MSG_RESET, Empty(), failed, TWCC_CAPBADOPERATION,
         NoAnswer()},
        {"no reset", 4, ICAP_COMPRESSION, MSG_RESET, Empty(), failed, TWCC_CAPBADOPERATION,
         NoAnswer()},
        {"enumeration of another type", 4, ICAP_XFERMECH, MSG_SET, Enumeration(TWTY_UINT32, {0}),
         failed, TWCC_BUMMER, NoAnswer()},
        {"enumeration of another type", 4, ICAP_COMPRESSION, MSG_SET, Enumeration(TWTY_INT16, {0}),
         failed, TWCC_BUMMER, NoAnswer()},

        // ICAP_XFERMECH: all five operations.
        {"fresh", 3, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({0, 1, 2}, 0, 0)},
        {"fresh", 4, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({0, 1, 2}, 0, 0)},
        {"fresh", 4, ICAP_XFERMECH, MSG_GETCURRENT, Empty(), ok, none, is16(0)},
        {"fresh", 4, ICAP_XFERMECH, MSG_GETDEFAULT, Empty(), ok, none, is16(0)},
        {"no such mechanism", 4, ICAP_XFERMECH, MSG_SET, u16(3), failed, TWCC_BADVALUE, NoAnswer()},
        {"empty list", 4, ICAP_XFERMECH, MSG_SET, Enumeration(TWTY_UINT16, {}), failed,
         TWCC_BADVALUE, NoAnswer()},
        {"list with a bad value", 4, ICAP_XFERMECH, MSG_SET, Enumeration(TWTY_UINT16, {0, 3}),
         failed, TWCC_BADVALUE, NoAnswer()},
        {"nothing changed", 4, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({0, 1, 2}, 0, 0)},
        {"narrowed", 4, ICAP_XFERMECH, MSG_SET, Enumeration(TWTY_UINT16, {2}), ok, none,
         NoAnswer()},
        {"current not listed", 4, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({2}, 0, 0)},
        {"current kept", 4, ICAP_XFERMECH, MSG_GETCURRENT, Empty(), ok, none, is16(0)},
        {"unlisted but valid", 4, ICAP_XFERMECH, MSG_SET, u16(1), ok, none, NoAnswer()},
        {"unlisted but valid", 4, ICAP_XFERMECH, MSG_GETCURRENT, Empty(), ok, none, is16(1)},
        {"order and repeats kept", 4, ICAP_XFERMECH, MSG_SET, Enumeration(TWTY_UINT16, {2, 2, 0}),
         ok, none, NoAnswer()},
        {"order and repeats kept", 4, ICAP_XFERMECH, MSG_SET, u16(0), ok, none, NoAnswer()},
        {"order and repeats kept", 4, ICAP_XFERMECH, MSG_GET, Empty(), ok, none,
         list({2, 2, 0}, 2, 2)},
        {"low 16 bits", 4, ICAP_XFERMECH, MSG_SET, OneValue(TWTY_UINT32, 0x00010002), ok, none,
         NoAnswer()},
        {"low 16 bits", 4, ICAP_XFERMECH, MSG_GETCURRENT, Empty(), ok, none, is16(2)},
        {"enabled", 5, ICAP_XFERMECH, MSG_SET, u16(1), failed, TWCC_SEQERROR, NoAnswer()},
        {"enabled", 5, ICAP_XFERMECH, MSG_GETCURRENT, Empty(), ok, none, is16(2)},
        {"last equal entry", 6, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({2, 2, 0}, 1, 2)},
        {"reset", 4, ICAP_XFERMECH, MSG_RESET, Empty(), ok, none, is16(0)},
        {"reset", 4, ICAP_XFERMECH, MSG_GET, Empty(), ok, none, list({0, 1, 2}, 0, 0)},

        // ICAP_PIXELFLAVOR.
        {"fresh", 4, ICAP_PIXELFLAVOR, MSG_GET, Empty(), ok, none, list({0, 1}, 0, 0)},
        {"fresh", 4, ICAP_PIXELFLAVOR, MSG_GETCURRENT, Empty(), ok, none, is16(0)},
        {"fresh", 4, ICAP_PIXELFLAVOR, MSG_GETDEFAULT, Empty(), ok, none, is16(0)},
        {"no such flavor", 4, ICAP_PIXELFLAVOR, MSG_SET, u16(2), failed, TWCC_BADVALUE, NoAnswer()},
        {"one value only", 4, ICAP_PIXELFLAVOR, MSG_SET, Enumeration(TWTY_UINT16, {0}), failed,
         TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"one value only", 4, ICAP_PIXELFLAVOR, MSG_SET, Array(TWTY_UINT16, {0}), failed,
         TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"one value only", 4, ICAP_PIXELFLAVOR, MSG_SET, Range(TWTY_UINT16), failed,
         TWCC_CAPUNSUPPORTED, NoAnswer()},
        {"vanilla", 4, ICAP_PIXELFLAVOR, MSG_SET, u16(1), ok, none, NoAnswer()},
        {"vanilla", 4, ICAP_PIXELFLAVOR, MSG_GET, Empty(), ok, none, list({0, 1}, 1, 0)},
        {"file transfer", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_FILE), ok, none, NoAnswer()},
        {"file transfer", 4, ICAP_PIXELFLAVOR, MSG_SET, u16(0), ok, none, NoAnswer()},
        {"files are vanilla", 4, ICAP_PIXELFLAVOR, MSG_GETCURRENT, Empty(), ok, none, is16(1)},
        {"files are vanilla", 4, ICAP_PIXELFLAVOR, MSG_GET, Empty(), ok, none, list({0, 1}, 1, 0)},
        {"native again", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_NATIVE), ok, none, NoAnswer()},
        {"native again", 4, ICAP_PIXELFLAVOR, MSG_GETCURRENT, Empty(), ok, none, is16(0)},
        {"reset", 4, ICAP_PIXELFLAVOR, MSG_SET, u16(1), ok, none, NoAnswer()},
        {"reset", 4, ICAP_PIXELFLAVOR, MSG_RESET, Empty(), ok, none, is16(0)},
        {"reset", 4, ICAP_PIXELFLAVOR, MSG_GETCURRENT, Empty(), ok, none, is16(0)},

        // CAP_XFERCOUNT: all five operations, TWTY_INT16 sign-extended.
        {"fresh", 4, CAP_XFERCOUNT, MSG_GET, Empty(), ok, none, isI16(minusOne)},
        {"fresh", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(minusOne)},
        {"fresh", 4, CAP_XFERCOUNT, MSG_GETDEFAULT, Empty(), ok, none, isI16(minusOne)},
        {"five", 4, CAP_XFERCOUNT, MSG_SET, i16(5), ok, none, NoAnswer()},
        {"five", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(5)},
        {"still all on offer", 4, CAP_XFERCOUNT, MSG_GET, Empty(), ok, none, isI16(minusOne)},
        {"many", 4, CAP_XFERCOUNT, MSG_SET, i16(300), ok, none, NoAnswer()},
        {"many", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(300)},
        {"most", 4, CAP_XFERCOUNT, MSG_SET, i16(32767), ok, none, NoAnswer()},
        {"most", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(32767)},
        {"none", 4, CAP_XFERCOUNT, MSG_SET, i16(0), failed, TWCC_BADVALUE, NoAnswer()},
        {"minus two", 4, CAP_XFERCOUNT, MSG_SET, i16(0xfffe), failed, TWCC_BADVALUE, NoAnswer()},
        {"lowest", 4, CAP_XFERCOUNT, MSG_SET, i16(0x8000), failed, TWCC_BADVALUE, NoAnswer()},
        {"refusals changed nothing", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none,
         isI16(32767)},
        {"all", 4, CAP_XFERCOUNT, MSG_SET, i16(0xffff), ok, none, NoAnswer()},
        {"all", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(minusOne)},
        {"enabled", 4, CAP_XFERCOUNT, MSG_SET, i16(5), ok, none, NoAnswer()},
        {"enabled", 5, CAP_XFERCOUNT, MSG_SET, i16(7), failed, TWCC_SEQERROR, NoAnswer()},
        {"enabled", 7, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(5)},
        {"reset", 4, CAP_XFERCOUNT, MSG_RESET, Empty(), ok, none, isI16(minusOne)},
        {"reset", 4, CAP_XFERCOUNT, MSG_GETCURRENT, Empty(), ok, none, isI16(minusOne)},

        // ICAP_IMAGEFILEFORMAT and ICAP_COMPRESSION, which follows it and the mechanism.
        {"fresh", 4, ICAP_IMAGEFILEFORMAT, MSG_GET, Empty(), ok, none, list({0, 2, 6}, 1, 1)},
        {"fresh", 4, ICAP_IMAGEFILEFORMAT, MSG_GETCURRENT, Empty(), ok, none, is16(TWFF_BMP)},
        {"fresh", 4, ICAP_IMAGEFILEFORMAT, MSG_GETDEFAULT, Empty(), ok, none, is16(TWFF_BMP)},
        {"native", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({0}, 0, 0)},
        {"native", 4, ICAP_COMPRESSION, MSG_GETCURRENT, Empty(), ok, none, is16(TWCP_NONE)},
        {"native", 4, ICAP_COMPRESSION, MSG_GETDEFAULT, Empty(), ok, none, is16(TWCP_NONE)},
        {"no JFIF", 4, ICAP_IMAGEFILEFORMAT, MSG_SET, u16(TWFF_JFIF), failed, TWCC_BADVALUE,
         NoAnswer()},
        {"no JFIF", 4, ICAP_IMAGEFILEFORMAT, MSG_GETCURRENT, Empty(), ok, none, is16(TWFF_BMP)},
        {"native is uncompressed", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_GROUP4), failed,
         TWCC_BADVALUE, NoAnswer()},
        {"native is uncompressed", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_NONE), ok, none,
         NoAnswer()},
        {"TIFF file", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_FILE), ok, none, NoAnswer()},
        {"TIFF file", 4, ICAP_IMAGEFILEFORMAT, MSG_SET, u16(TWFF_TIFF), ok, none, NoAnswer()},
        {"TIFF file", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({5}, 0, 0)},
        {"TIFF file", 4, ICAP_COMPRESSION, MSG_GETCURRENT, Empty(), ok, none, is16(TWCP_GROUP4)},
        {"TIFF file", 4, ICAP_COMPRESSION, MSG_GETDEFAULT, Empty(), ok, none, is16(TWCP_GROUP4)},
        {"TIFF file", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_NONE), failed, TWCC_BADVALUE,
         NoAnswer()},
        {"TIFF file", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_GROUP4), ok, none, NoAnswer()},
        {"TIFF in memory", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_MEMORY), ok, none, NoAnswer()},
        {"TIFF in memory", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({0}, 0, 0)},
        {"TIFF in memory", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_NONE), ok, none, NoAnswer()},
        {"TIFF in memory", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_GROUP4), failed, TWCC_BADVALUE,
         NoAnswer()},
        // The memory transfer's NONE leaves the TIFF file's compression as it was.
        {"TIFF file again", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_FILE), ok, none, NoAnswer()},
        {"TIFF file again", 4, ICAP_COMPRESSION, MSG_GETCURRENT, Empty(), ok, none,
         is16(TWCP_GROUP4)},
        {"TIFF file again", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({5}, 0, 0)},
        {"TIFF file again", 4, ICAP_COMPRESSION, MSG_GETDEFAULT, Empty(), ok, none,
         is16(TWCP_GROUP4)},
        {"TIFF list", 4, ICAP_COMPRESSION, MSG_SET, Enumeration(TWTY_UINT16, {0}), failed,
         TWCC_BADVALUE, NoAnswer()},
        {"TIFF list", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({5}, 0, 0)},
        {"TIFF list emptied", 4, ICAP_COMPRESSION, MSG_SET, Enumeration(TWTY_UINT16, {}), ok, none,
         NoAnswer()},
        {"TIFF list emptied", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({}, 0, 0)},
        {"TIFF list emptied", 4, ICAP_COMPRESSION, MSG_GETCURRENT, Empty(), ok, none,
         is16(TWCP_GROUP4)},
        {"TIFF list repeats", 4, ICAP_COMPRESSION, MSG_SET, Enumeration(TWTY_UINT16, {5, 5}), ok,
         none, NoAnswer()},
        {"TIFF list repeats", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({5, 5}, 1, 1)},
        {"list while native", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_NATIVE), ok, none, NoAnswer()},
        {"list while native", 4, ICAP_COMPRESSION, MSG_SET, Enumeration(TWTY_UINT16, {5}), ok, none,
         NoAnswer()},
        {"list while native", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({0}, 0, 0)},
        {"list while native", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_FILE), ok, none, NoAnswer()},
        {"list while native", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({5}, 0, 0)},
        {"BMP file", 4, ICAP_IMAGEFILEFORMAT, MSG_SET, u16(TWFF_BMP), ok, none, NoAnswer()},
        {"BMP file", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({0}, 0, 0)},
        {"BMP file", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_GROUP4), failed, TWCC_BADVALUE,
         NoAnswer()},
        {"BMP file", 4, ICAP_COMPRESSION, MSG_SET, u16(TWCP_NONE), ok, none, NoAnswer()},
        {"format list", 4, ICAP_IMAGEFILEFORMAT, MSG_SET, Enumeration(TWTY_UINT16, {0}), ok, none,
         NoAnswer()},
        {"current not listed", 4, ICAP_IMAGEFILEFORMAT, MSG_GET, Empty(), ok, none,
         list({0}, 0, 0)},
        {"current not listed", 4, ICAP_IMAGEFILEFORMAT, MSG_GETCURRENT, Empty(), ok, none,
         is16(TWFF_BMP)},
        {"supported but unlisted", 4, ICAP_IMAGEFILEFORMAT, MSG_SET,
         OneValue(TWTY_INT32, TWFF_TIFFMULTI), ok, none, NoAnswer()},
        {"supported but unlisted", 4, ICAP_IMAGEFILEFORMAT, MSG_GETCURRENT, Empty(), ok, none,
         is16(TWFF_TIFFMULTI)},
        {"supported but unlisted", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none,
         list({5}, 0, 0)},
        {"list with a bad value", 4, ICAP_IMAGEFILEFORMAT, MSG_SET,
         Enumeration(TWTY_UINT16, {0, TWFF_JFIF}), failed, TWCC_BADVALUE, NoAnswer()},
        {"list with a bad value", 4, ICAP_IMAGEFILEFORMAT, MSG_GET, Empty(), ok, none,
         list({0}, 0, 0)},
        {"list sorted, repeats dropped", 4, ICAP_IMAGEFILEFORMAT, MSG_SET,
         Enumeration(TWTY_UINT16, {6, 0, 6}), ok, none, NoAnswer()},
        {"list sorted, repeats dropped", 4, ICAP_IMAGEFILEFORMAT, MSG_GET, Empty(), ok, none,
         list({0, 6}, 1, 0)},
        {"enabled", 5, ICAP_IMAGEFILEFORMAT, MSG_SET, u16(TWFF_TIFF), failed, TWCC_SEQERROR,
         NoAnswer()},
        {"enabled", 5, ICAP_IMAGEFILEFORMAT, MSG_GETCURRENT, Empty(), ok, none,
         is16(TWFF_TIFFMULTI)},
        {"native again", 4, ICAP_XFERMECH, MSG_SET, u16(TWSX_NATIVE), ok, none, NoAnswer()},
        {"native again", 4, ICAP_COMPRESSION, MSG_GET, Empty(), ok, none, list({0}, 0, 0)},
    };
}
