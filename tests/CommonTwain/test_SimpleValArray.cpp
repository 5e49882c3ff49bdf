#include "SimpleValArray.h"

#include <gtest/gtest.h>

#include <stdexcept>

using CommonTwain::SimpleValArray;

TEST(SimpleValArray, EmptyArrayOwnsOneElementAndAppendReusesIt) {
    SimpleValArray<unsigned short> values;
    EXPECT_EQ(0u, values.GetCount());
    const unsigned short* buffer = values.GetData();
    ASSERT_NE(nullptr, buffer);
    EXPECT_EQ(0u, values.Append(5));
    EXPECT_EQ(buffer, values.GetData());
    EXPECT_EQ(1u, values.GetCount());
    EXPECT_EQ(5, values.GetAt(0));
    EXPECT_EQ(1u, values.Append(6));
    EXPECT_EQ(6, values.GetAt(1));
    EXPECT_THROW(values.GetAt(2), std::out_of_range);
}

TEST(SimpleValArray, ResizeKeepsTheFirstValues) {
    SimpleValArray<unsigned short> values(5);
    for (unsigned short i = 0; i < 5; ++i) {
        values.SetAt(i, static_cast<unsigned short>(10 + i));
    }
    values.Resize(3);
    ASSERT_EQ(3u, values.GetCount());
    EXPECT_EQ(12, values.GetAt(2));
    values.Resize(5);
    ASSERT_EQ(5u, values.GetCount());
    EXPECT_EQ(10, values.GetAt(0));
    EXPECT_EQ(12, values.GetAt(2));
}

TEST(SimpleValArray, CopyFromStopsAtTheCount) {
    SimpleValArray<unsigned short> values(5);
    for (unsigned short i = 0; i < 5; ++i) {
        values.SetAt(i, 0);
    }
    const unsigned short source[] = {1, 2, 3, 4};
    values.CopyFrom(source, 4, 2);
    EXPECT_EQ(5u, values.GetCount());
    EXPECT_EQ(0, values.GetAt(1));
    EXPECT_EQ(1, values.GetAt(2));
    EXPECT_EQ(3, values.GetAt(4));
    values.CopyFrom(source, 4, 0xFFFFFFFEu); // no wrap-around past the buffer
    EXPECT_EQ(3, values.GetAt(4));
}

TEST(SimpleValArray, CopiesAreDeepAndSelfAssignmentKeepsValues) {
    SimpleValArray<double> values(2);
    values.SetAt(0, 1.5);
    values.SetAt(1, 2.5);
    SimpleValArray<double> copy(values);
    copy.SetAt(0, 9.0);
    EXPECT_EQ(1.5, values.GetAt(0));
    values = values;
    EXPECT_EQ(2u, values.GetCount());
    EXPECT_EQ(2.5, values.GetAt(1));
}

TEST(SimpleValArray, AppendOfItsOwnElementSurvivesTheNewBuffer) {
    SimpleValArray<unsigned short> values;
    values.Append(7);
    values.Append(8);
    values.Append(*values.ElementAt(0));
    EXPECT_EQ(7, values.GetAt(2));
}
