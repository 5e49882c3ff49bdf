#include "SafeHandle.h"
#include "TW_ARRAY_UINT16.h"
#include "TW_Enumeration.h"
#include "TW_ONEVALUE_STR255.h"
#include "TW_OneValue.h"
#include "TypeException.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <typeinfo>
#include <vector>

using namespace CommonTwain;
using Bytes = std::vector<unsigned char>;

namespace {

// A block as an application builds it: real global memory of exactly these bytes.
class AppBlock {
public:
    explicit AppBlock(const Bytes& bytes) : m_handle(GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
        m_memory = GlobalLock(m_handle);
        std::memcpy(m_memory, bytes.data(), bytes.size());
    }
    ~AppBlock() {
        GlobalUnlock(m_handle);
        GlobalFree(m_handle);
    }
    template <typename T> const T* As() const { return static_cast<const T*>(m_memory); }
    unsigned long Size() const { return static_cast<unsigned long>(GlobalSize(m_handle)); }

private:
    HGLOBAL m_handle;
    void* m_memory;
};

// What a container writes into a new global block of its total size.
Bytes Written(const TW_Container& container, std::size_t count) {
    CommonCpp::SafeHandle block(container.GetTotalSize(), true);
    CommonCpp::HandleLocker lock(block);
    container.WriteTo(lock.GetPointer());
    const auto* bytes = static_cast<const unsigned char*>(lock.GetPointer());
    return Bytes(bytes, bytes + count);
}

// The block an answer handed to the application, freed as the application would.
Bytes TakeAnswer(TW_CAPABILITY& cap) {
    EXPECT_NE(nullptr, cap.hContainer);
    const SIZE_T size = GlobalSize(cap.hContainer);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(cap.hContainer));
    Bytes result(bytes, bytes + size);
    GlobalUnlock(cap.hContainer);
    GlobalFree(cap.hContainer);
    cap.hContainer = nullptr;
    return result;
}

SimpleValArray<unsigned short> Values(std::initializer_list<unsigned short> list) {
    SimpleValArray<unsigned short> values(static_cast<std::uint32_t>(list.size()));
    std::uint32_t i = 0;
    for (unsigned short v : list) {
        values.SetAt(i++, v);
    }
    return values;
}

} // namespace

TEST(TW_Enumeration, Uint16WritesTheTwainLayout) {
    const TW_ENUMERATION_UINT16 e(Values({0, 1, 2}), 1, 0);
    EXPECT_EQ(22u, e.GetTotalSize());
    EXPECT_EQ((Bytes{4, 0, 3, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0}), Written(e, 20));
    EXPECT_EQ("TW_ENUMERATION_UINT16(CurrentIndex = 1, DefaultIndex = 0, [0] = 0, [1] = 1, "
              "[2] = 2)",
              e.Dump());
    EXPECT_EQ("TW_ENUMERATION_UINT16(CurrentIndex = 0, DefaultIndex = 0, )",
              TW_ENUMERATION_UINT16(SimpleValArray<unsigned short>(), 0, 0).Dump());
}

TEST(TW_Enumeration, Fix32WritesWholeThenFrac) {
    SimpleValArray<double> values(2);
    values.SetAt(0, 100.0);
    values.SetAt(1, 150.5);
    const TW_ENUMERATION_FIX32 e(values, 1, 0);
    EXPECT_EQ(24u, e.GetTotalSize());
    EXPECT_EQ((Bytes{7, 0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0x64, 0, 0, 0, 0x96, 0, 0, 0x80}),
              Written(e, 22));
}

TEST(TW_Enumeration, AnswersCurrentAndDefaultAsOneValueBlocks) {
    const TW_ENUMERATION_UINT16 e(Values({0, 1, 2}), 1, 0);
    TW_CAPABILITY cap{0, 0, nullptr};
    e.GetCurrentAsOneValue(&cap, ICAP_PIXELTYPE);
    EXPECT_EQ(ICAP_PIXELTYPE, cap.Cap);
    EXPECT_EQ(TWON_ONEVALUE, cap.ConType);
    Bytes answer = TakeAnswer(cap);
    ASSERT_EQ(8u, answer.size());
    EXPECT_EQ((Bytes{4, 0, 1, 0, 0, 0}), Bytes(answer.begin(), answer.begin() + 6));

    SimpleValArray<double> values(2);
    values.SetAt(0, 100.0);
    values.SetAt(1, -0.5);
    TW_ENUMERATION_FIX32(values, 0, 1).GetDefaultAsOneValue(&cap, ICAP_XRESOLUTION);
    answer = TakeAnswer(cap);
    ASSERT_EQ(10u, answer.size());
    EXPECT_EQ((Bytes{7, 0, 0xFF, 0xFF, 0, 0x80}), Bytes(answer.begin(), answer.begin() + 6));
}

TEST(TW_Enumeration, IndexOutsideTheValuesIsRefusedAndCapabilityLeftAlone) {
    TW_ENUMERATION_UINT16 e(Values({0, 1}), 2, 0);
    TW_CAPABILITY cap{1, 2, nullptr};
    EXPECT_THROW(e.GetCurrentAsOneValue(&cap, ICAP_UNITS), TypeException);
    e.SetDefaultIndex(0xFFFFFFFF);
    EXPECT_THROW(e.GetDefaultAsOneValue(&cap, ICAP_UNITS), TypeException);
    EXPECT_EQ(1, cap.Cap);
    EXPECT_EQ(2, cap.ConType);
    EXPECT_EQ(nullptr, cap.hContainer);
    EXPECT_THROW(TW_ENUMERATION_FIX32(SimpleValArray<double>(), 0, 0)
                     .GetCurrentAsOneValue(&cap, ICAP_XRESOLUTION),
                 TypeException);
}

TEST(TW_Enumeration, SetFromOneValueSelectsOrAppends) {
    TW_ENUMERATION_UINT16 e(Values({0, 1, 2}), 0, 0);
    const AppBlock seven({4, 0, 7, 0, 0, 0});
    e.SetFromOneValue(seven.As<TW_ONEVALUE>(), seven.Size());
    EXPECT_EQ(4u, e.GetCount());
    EXPECT_EQ(3u, e.GetCurrentIndex());
    EXPECT_EQ(0u, e.GetDefaultIndex());
    // The item type is not looked at: the low 16 bits of an INT32 item count.
    const AppBlock two({2, 0, 2, 0, 1, 0});
    e.SetFromOneValue(two.As<TW_ONEVALUE>(), two.Size());
    EXPECT_EQ(2u, e.GetCurrentIndex());
    EXPECT_EQ(4u, e.GetCount());

    SimpleValArray<double> values(1);
    values.SetAt(0, 1.0);
    TW_ENUMERATION_FIX32 fix(values, 0, 0);
    const AppBlock int32({2, 0, 1, 0, 0, 0});
    const std::string before = fix.Dump();
    EXPECT_THROW(fix.SetFromOneValue(int32.As<TW_ONEVALUE>(), int32.Size()), TypeException);
    EXPECT_EQ(before, fix.Dump());
    const AppBlock half({7, 0, 2, 0, 0, 0x80});
    fix.SetFromOneValue(half.As<TW_ONEVALUE>(), half.Size());
    EXPECT_EQ(2u, fix.GetCount());
    EXPECT_EQ(1u, fix.GetCurrentIndex());
}

TEST(TW_Enumeration, ReadsAnApplicationsEnumerationWithinItsBlock) {
    const AppBlock good({4, 0, 3, 0, 0, 0, 5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 9, 0, 8, 0, 7, 0});
    const TW_ENUMERATION_UINT16 e(good.As<TW_ENUMERATION>(), good.Size());
    ASSERT_EQ(3u, e.GetCount());
    EXPECT_EQ(9, e.GetValues().GetAt(0));
    EXPECT_EQ(7, e.GetValues().GetAt(2));
    // Indexes are kept as they stand ("don't care" defaults are common) and checked on use.
    EXPECT_EQ(5u, e.GetCurrentIndex());
    EXPECT_EQ(0xFFFFFFFFu, e.GetDefaultIndex());
    TW_CAPABILITY cap{0, 0, nullptr};
    EXPECT_THROW(e.GetCurrentAsOneValue(&cap, ICAP_XFERMECH), TypeException);

    const Bytes refused[] = {
        {6, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0},             // TWTY_BOOL
        {4, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 2, 0, 3, 0}, // four items, room for three
        {4, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, // NumItems wraps 32 bits
        {4, 0, 0, 0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0},          // far beyond the block
        {4, 0, 1, 0, 0, 0, 0, 0},                                     // header cut short
    };
    for (const Bytes& bytes : refused) {
        const AppBlock block(bytes);
        EXPECT_THROW(TW_ENUMERATION_UINT16(block.As<TW_ENUMERATION>(), block.Size()), TypeException)
            << bytes.size();
    }
    EXPECT_THROW(TW_ENUMERATION_UINT16(nullptr, 100), TypeException);
}

TEST(TW_OneValue, WritesTheItemWidenedTo32Bits) {
    struct Case {
        std::unique_ptr<TW_Container> value;
        Bytes expected;
        const char* dump;
    };
    Case cases[] = {
        {std::make_unique<TW_ONEVALUE_INT16>(-1),
         {1, 0, 0xFF, 0xFF, 0xFF, 0xFF},
         "TW_ONEVALUE_INT16(-1)"},
        {std::make_unique<TW_ONEVALUE_UINT16>(65535),
         {4, 0, 0xFF, 0xFF, 0, 0},
         "TW_ONEVALUE_UINT16(65535)"},
        {std::make_unique<TW_ONEVALUE_BOOL>(1), {6, 0, 1, 0, 0, 0}, "TW_ONEVALUE_BOOL(true)"},
        {std::make_unique<TW_ONEVALUE_INT32>(-2),
         {2, 0, 0xFE, 0xFF, 0xFF, 0xFF},
         "TW_ONEVALUE_INT32(-2)"},
        {std::make_unique<TW_ONEVALUE_FIX32>(1.5),
         {7, 0, 1, 0, 0, 0x80},
         "TW_ONEVALUE_FIX32(TW_FIX32(1.5, Whole = 1, Frac = 32768))"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(6u, c.value->GetTotalSize());
        EXPECT_EQ(1u, c.value->GetCount());
        EXPECT_EQ(c.expected, Written(*c.value, 6)) << c.dump;
        EXPECT_EQ(c.dump, c.value->Dump());
        EXPECT_EQ(c.dump, c.value->Clone()->Dump());
        TW_CAPABILITY cap{0, 0, nullptr};
        EXPECT_THROW(c.value->GetCurrentAsOneValue(&cap, CAP_XFERCOUNT), TypeException);
        EXPECT_THROW(c.value->Assign(*c.value), TypeException);
        EXPECT_THROW(c.value->UnsupportedOperation(), TypeException);
    }
}

TEST(TW_OneValue, ReadsAnApplicationsOneValue) {
    const AppBlock int32({2, 0, 5, 0, 1, 0}); // 65541
    EXPECT_EQ(5, TW_ONEVALUE_UINT16(int32.As<TW_ONEVALUE>(), int32.Size()).GetValue());
    EXPECT_EQ(5, TW_ONEVALUE_BOOL(int32.As<TW_ONEVALUE>(), int32.Size()).GetValue());
    const AppBlock minus({1, 0, 0xFE, 0xFF, 0, 0});
    EXPECT_EQ(-2, TW_ONEVALUE_INT16(minus.As<TW_ONEVALUE>(), minus.Size()).GetValue());
    EXPECT_THROW(TW_ONEVALUE_FIX32(int32.As<TW_ONEVALUE>(), int32.Size()), TypeException);
    const AppBlock fix({7, 0, 0xFF, 0xFF, 0, 0x80});
    const TW_FIX32 value = TW_ONEVALUE_FIX32(fix.As<TW_ONEVALUE>(), fix.Size()).GetValue();
    EXPECT_EQ(-1, value.Whole);
    EXPECT_EQ(32768, value.Frac);

    const AppBlock tiny({4, 0, 1});
    EXPECT_THROW(TW_ONEVALUE_UINT16(tiny.As<TW_ONEVALUE>(), tiny.Size()), TypeException);
    EXPECT_THROW(TW_ONEVALUE_FIX32(tiny.As<TW_ONEVALUE>(), tiny.Size()), TypeException);
}

TEST(TW_ONEVALUE_STR255, AnswerBlockHoldsTheTextFromOffsetTwo) {
    const TW_ONEVALUE_STR255 address(STR_value255("192.168.1.20"));
    EXPECT_EQ("TW_ONEVALUE_STR255(TW_STR255(\"192.168.1.20\"))", address.Dump());
    // The 256 text bytes do not fit the 6 bytes of a numeric one-value.
    EXPECT_EQ(262u, address.GetTotalSize());
    const Bytes written = Written(address, 258);
    EXPECT_STREQ("192.168.1.20", reinterpret_cast<const char*>(written.data() + 2));
    TW_CAPABILITY cap{0, 0, nullptr};
    address.GetCurrentAsOneValue(&cap, 0x8001);
    EXPECT_EQ(0x8001, cap.Cap);
    EXPECT_EQ(TWON_ONEVALUE, cap.ConType);
    const Bytes answer = TakeAnswer(cap);
    ASSERT_EQ(262u, answer.size());
    EXPECT_EQ(12, answer[0]);
    EXPECT_EQ(0, answer[1]);
    EXPECT_STREQ("192.168.1.20", reinterpret_cast<const char*>(answer.data() + 2));
}

TEST(TW_ONEVALUE_STR255, ReadsTextOnlyFromAStr255BlockAndNeverPastIt) {
    Bytes bytes{12, 0};
    const std::string text = "ftp.example";
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    const AppBlock block(bytes);
    TW_ONEVALUE_STR255 value(block.As<TW_ONEVALUE>(), block.Size());
    EXPECT_EQ(text, value.GetValue().ToStdString());

    const AppBlock unterminated({12, 0, 'a', 'b', 'c'});
    value.SetFromOneValue(unterminated.As<TW_ONEVALUE>(), unterminated.Size());
    EXPECT_EQ("abc", value.GetValue().ToStdString());

    const AppBlock uint16({4, 0, 1, 0, 0, 0});
    EXPECT_THROW(value.SetFromOneValue(uint16.As<TW_ONEVALUE>(), uint16.Size()), TypeException);
    EXPECT_EQ("abc", value.GetValue().ToStdString());

    TW_ONEVALUE_STR255 other(STR_value255("x"));
    other.Assign(value);
    EXPECT_EQ("abc", other.GetValue().ToStdString());
    EXPECT_THROW(other.Assign(TW_ONEVALUE_UINT16(1)), TypeException);
}

TEST(TW_ARRAY_UINT16, WritesTheTwainLayoutAndAssignsOnlyArrays) {
    TW_ARRAY_UINT16 array(Values({1, 2, 3}));
    EXPECT_EQ(14u, array.GetTotalSize());
    EXPECT_EQ((Bytes{4, 0, 3, 0, 0, 0, 1, 0, 2, 0, 3, 0}), Written(array, 12));
    EXPECT_EQ("TW_ARRAY_UINT16([0] = 1, [1] = 2, [2] = 3)", array.Dump());

    array.Assign(TW_ARRAY_UINT16(Values({9})));
    EXPECT_EQ("TW_ARRAY_UINT16([0] = 9)", array.Dump());
    EXPECT_THROW(array.Assign(TW_ONEVALUE_UINT16(1)), std::bad_cast);
    const AppBlock one({4, 0, 1, 0, 0, 0});
    EXPECT_THROW(array.SetFromOneValue(one.As<TW_ONEVALUE>(), one.Size()), TypeException);
    TW_CAPABILITY cap{0, 0, nullptr};
    EXPECT_THROW(array.GetDefaultAsOneValue(&cap, CAP_SUPPORTEDCAPS), TypeException);
}

TEST(TW_Container, SizesByItemAndContainerType) {
    EXPECT_EQ(1u, TW_Container::ItemSizeOf(TWTY_INT8));
    EXPECT_EQ(2u, TW_Container::ItemSizeOf(TWTY_BOOL));
    EXPECT_EQ(4u, TW_Container::ItemSizeOf(TWTY_FIX32));
    EXPECT_EQ(16u, TW_Container::ItemSizeOf(TWTY_FRAME));
    EXPECT_EQ(34u, TW_Container::ItemSizeOf(TWTY_STR32));
    EXPECT_EQ(66u, TW_Container::ItemSizeOf(TWTY_STR64));
    EXPECT_EQ(130u, TW_Container::ItemSizeOf(TWTY_STR128));
    EXPECT_EQ(256u, TW_Container::ItemSizeOf(TWTY_STR255));
    EXPECT_EQ(0u, TW_Container::ItemSizeOf(13));
    EXPECT_EQ(8u, TW_Container::ContainerSizeOf(TWON_ARRAY));
    EXPECT_EQ(16u, TW_Container::ContainerSizeOf(TWON_ENUMERATION));
    EXPECT_EQ(6u, TW_Container::ContainerSizeOf(TWON_ONEVALUE));
    EXPECT_EQ(22u, TW_Container::ContainerSizeOf(TWON_RANGE));
    EXPECT_EQ(0u, TW_Container::ContainerSizeOf(7));
}
