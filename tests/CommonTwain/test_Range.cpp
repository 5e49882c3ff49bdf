#include "TW_Range.h"
#include "TypeException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace CommonTwain;

namespace {

// A TW_RANGE as a peer lays it out: ItemType, then five Whole/Frac pairs from offset 2.
std::vector<unsigned char> RangeBytes(TW_UINT16 itemType) {
    std::vector<unsigned char> bytes = {static_cast<unsigned char>(itemType),
                                        static_cast<unsigned char>(itemType >> 8)};
    const unsigned char values[5][4] = {
        {0xFF, 0xFF, 0x00, 0x80}, // -1 + 0.5
        {0x2C, 0x01, 0x00, 0x00}, // 300
        {0x01, 0x00, 0x00, 0x40}, // 1.25
        {0x96, 0x00, 0x00, 0x00}, // 150
        {0xC8, 0x00, 0x00, 0xC0}, // 200.75
    };
    for (const auto& v : values) {
        bytes.insert(bytes.end(), v, v + 4);
    }
    return bytes;
}

} // namespace

TEST(TW_RANGE_FIX32, ReadsAPeersRangeAndWritesTheSameBytes) {
    const auto bytes = RangeBytes(TWTY_FIX32);
    ASSERT_EQ(sizeof(TW_RANGE), bytes.size());
    const TW_RANGE_FIX32 range(reinterpret_cast<const TW_RANGE*>(bytes.data()), bytes.size());
    EXPECT_DOUBLE_EQ(-0.5, range.MinValue.ToFloat());
    EXPECT_DOUBLE_EQ(300.0, range.MaxValue.ToFloat());
    EXPECT_DOUBLE_EQ(1.25, range.StepSize.ToFloat());
    EXPECT_DOUBLE_EQ(150.0, range.DefaultValue.ToFloat());
    EXPECT_DOUBLE_EQ(200.75, range.CurrentValue.ToFloat());

    EXPECT_EQ(TWTY_FIX32, range.GetItemType());
    EXPECT_EQ(TWON_RANGE, range.GetConType());
    EXPECT_EQ(5u, range.GetCount());
    EXPECT_EQ(22u, range.GetTotalSize());

    std::vector<unsigned char> written(bytes.size() + 2, 0xEE);
    range.WriteTo(written.data());
    EXPECT_EQ(0, std::memcmp(bytes.data(), written.data(), bytes.size()));
    EXPECT_EQ(0xEE, written[22]) << "nothing written past the record";

    // The copy through Clone reads back the same five values.
    const auto clone = range.Clone();
    std::vector<unsigned char> again(bytes.size());
    clone->WriteTo(again.data());
    EXPECT_EQ(bytes, again);
}

TEST(TW_RANGE_FIX32, RefusesOtherItemTypesAndShortBlocks) {
    for (const TW_UINT16 itemType : {TWTY_INT32, TWTY_UINT16, TWTY_UINT32, TWTY_FRAME}) {
        const auto bytes = RangeBytes(itemType);
        EXPECT_THROW(TW_RANGE_FIX32(reinterpret_cast<const TW_RANGE*>(bytes.data()), bytes.size()),
                     TypeException)
            << "item type " << itemType;
    }
    const auto bytes = RangeBytes(TWTY_FIX32);
    EXPECT_THROW(TW_RANGE_FIX32(reinterpret_cast<const TW_RANGE*>(bytes.data()), 21),
                 TypeException);
    EXPECT_THROW(TW_RANGE_FIX32(nullptr, 22), TypeException);
}

TEST(TW_RANGE_FIX32, HasNoSingleValueToHandOutOrTake) {
    TW_RANGE_FIX32 range(TW_Fix32(1.0), TW_Fix32(2.0), TW_Fix32(0.5), TW_Fix32(1.5), TW_Fix32(2.0));
    TW_CAPABILITY cap = {0x1118, 0, nullptr};
    EXPECT_THROW(range.GetCurrentAsOneValue(&cap, 0x1118), TypeException);
    EXPECT_THROW(range.GetDefaultAsOneValue(&cap, 0x1118), TypeException);
    EXPECT_EQ(nullptr, cap.hContainer);
    TW_ONEVALUE one = {TWTY_FIX32, 0};
    EXPECT_THROW(range.SetFromOneValue(&one, sizeof one), TypeException);
    EXPECT_THROW(range.UnsupportedOperation(), TypeException);
    EXPECT_THROW(range.Assign(range), TypeException);
}

TEST(TW_RANGE_FIX32, CopiesAndDumpsItsFiveValues) {
    const TW_RANGE_FIX32 range(TW_Fix32(-1.5), TW_Fix32(2.0), TW_Fix32(0.25), TW_Fix32(1.0),
                               TW_Fix32(1.75));
    TW_RANGE_FIX32 copy;
    copy = range;
    EXPECT_EQ(range.Dump(), copy.Dump());
    EXPECT_EQ("TW_RANGE_FIX32(MinValue = " + Fix32ToString(TW_Fix32(-1.5).ToRecord()) +
                  ", MaxValue = " + Fix32ToString(TW_Fix32(2.0).ToRecord()) +
                  ", StepSize = " + Fix32ToString(TW_Fix32(0.25).ToRecord()) +
                  ", DefaultValue = " + Fix32ToString(TW_Fix32(1.0).ToRecord()) +
                  ", CurrentValue = " + Fix32ToString(TW_Fix32(1.75).ToRecord()) + ")",
              range.Dump());
}
