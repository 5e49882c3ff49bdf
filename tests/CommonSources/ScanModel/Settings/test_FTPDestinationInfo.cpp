#include "FTPDestinationInfo.h"

#include <gtest/gtest.h>

TEST(FTPDestinationInfo, DefaultsAndEmptyInputFallBack) {
    FTPDestinationInfo info;
    EXPECT_EQ("", info.GetServer());
    EXPECT_EQ("21", info.GetPort());
    EXPECT_EQ("30", info.GetTimeout());
    EXPECT_EQ("anonymous", info.GetUserName());
    EXPECT_EQ("21", info.GetProxyPort());
    EXPECT_FALSE(info.IsProxyEnabled());
    EXPECT_TRUE(info.IsDefaultPort());
    EXPECT_TRUE(info.IsAnonymousLogin());
    EXPECT_TRUE(info.IsDefaultProxyPort());

    info.SetPort("2121");
    info.SetUserName("scan");
    info.SetProxyPort("8021");
    EXPECT_FALSE(info.IsDefaultPort());
    info.SetPort("");
    info.SetUserName("");
    info.SetProxyPort("");
    EXPECT_EQ("21", info.GetPort());
    EXPECT_EQ("anonymous", info.GetUserName());
    EXPECT_EQ("21", info.GetProxyPort());

    // Other fields keep an empty text.
    info.SetTimeout("");
    info.SetServer("");
    EXPECT_EQ("", info.GetTimeout());
    EXPECT_EQ("", info.GetServer());
}

TEST(FTPDestinationInfo, PredicatesCompareExactly) {
    FTPDestinationInfo info;
    for (const char* port : {"021", "21 ", " 21"}) {
        info.SetPort(port);
        EXPECT_FALSE(info.IsDefaultPort()) << port;
        info.SetProxyPort(port);
        EXPECT_FALSE(info.IsDefaultProxyPort()) << port;
    }
    info.SetUserName("Anonymous");
    EXPECT_FALSE(info.IsAnonymousLogin());
}

TEST(FTPDestinationInfo, ResetAndCopies) {
    FTPDestinationInfo info;
    info.SetServer("ftp.example");
    info.SetPath("/in");
    info.SetTimeout("90");
    info.SetPassword("secret");
    info.SetProxyEnabled(true);
    info.SetProxyAddress("proxy");
    info.SetProxyUserName("pu");
    info.SetProxyPassword("pp");

    FTPDestinationInfo copy(info);
    copy.SetPassword("other");
    EXPECT_EQ("secret", info.GetPassword());
    EXPECT_EQ("ftp.example", copy.GetServer());
    EXPECT_TRUE(copy.IsProxyEnabled());

    FTPDestinationInfo assigned;
    assigned = info;
    EXPECT_EQ("pp", assigned.GetProxyPassword());
    EXPECT_EQ("90", assigned.GetTimeout());

    info.Reset();
    const FTPDestinationInfo fresh;
    EXPECT_EQ(fresh.GetServer(), info.GetServer());
    EXPECT_EQ(fresh.GetPath(), info.GetPath());
    EXPECT_EQ("30", info.GetTimeout());
    EXPECT_EQ("", info.GetPassword());
    EXPECT_FALSE(info.IsProxyEnabled());
    EXPECT_EQ("", info.GetProxyAddress());
    EXPECT_EQ("", info.GetProxyUserName());
    EXPECT_EQ("", info.GetProxyPassword());
}
