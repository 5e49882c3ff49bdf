#include "Exception.h"

#include <gtest/gtest.h>
#include <sstream>

TEST(Exception, WhatIsTheClassNameAndPrintNamesTheThrowSite) {
    CommonCpp::Exception e("commonCpp\\zylFile", 12);
    EXPECT_STREQ("Exception", e.what());
    std::ostringstream os;
    e.Print(os);
    EXPECT_EQ("Exception line 12, source file 'commonCpp\\zylFile'\n", os.str());
    EXPECT_EQ("Exception Occurred", e.GetDescription());
}
