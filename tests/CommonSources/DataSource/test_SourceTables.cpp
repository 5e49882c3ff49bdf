#include "bitDepthStruct.h"
#include "compressionStruct.h"

#include <gtest/gtest.h>

using CommonTwain::SimpleValArray;

TEST(SourceTables, RowsStartEmptyAndCopyTheirListsDeeply) {
    SimpleValArray<compressionStruct> table(2);
    EXPECT_EQ(0, table.ElementAt(1)->current);
    EXPECT_EQ(0u, table.ElementAt(1)->allowed.GetCount());
    table.ElementAt(0)->current = 5;
    table.ElementAt(0)->allowed.Append(5);
    table.ElementAt(0)->supported.Append(5);

    SimpleValArray<compressionStruct> copy(table);
    copy.ElementAt(0)->allowed.SetAt(0, 6);
    copy.ElementAt(0)->supported.Append(0);
    EXPECT_EQ(5, copy.ElementAt(0)->current);
    EXPECT_EQ(5, table.ElementAt(0)->allowed.GetAt(0));
    EXPECT_EQ(1u, table.ElementAt(0)->supported.GetCount());

    // Growing keeps the rows and their lists.
    table.Append(compressionStruct());
    EXPECT_EQ(3u, table.GetCount());
    EXPECT_EQ(5, table.ElementAt(0)->allowed.GetAt(0));

    SimpleValArray<bitDepthStruct> depths(1);
    depths.ElementAt(0)->allowed.Append(8);
    depths = depths;
    EXPECT_EQ(8, depths.ElementAt(0)->allowed.GetAt(0));
    depths.SetAt(0, *depths.ElementAt(0)); // a row assigned to itself
    EXPECT_EQ(8, depths.ElementAt(0)->allowed.GetAt(0));
}
