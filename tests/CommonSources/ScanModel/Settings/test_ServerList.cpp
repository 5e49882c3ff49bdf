#include "ServerList.h"
#include "TestRegistryStore.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ServerListTest : public ::testing::Test {
protected:
    CommonCpp::XGPreferences& Store() { return registry.Store(); }
    void Put(const std::string& name, const std::string& value) { Store().SetString(name, value); }
    std::string Raw(const std::string& name) const { return registry.Raw(name); }

    void StoreSlot(int i, const std::string& device, const std::string& ip, const std::string& nick,
                   const std::string& show) {
        const std::string n = std::to_string(i);
        Put("devicename_" + n, device);
        Put("ipaddress_" + n, ip);
        Put("nickname_" + n, nick);
        Put("show_nickname_" + n, show);
    }

    TestRegistryStore registry;
};

ServerInfo* Server(const std::string& ip, const std::string& nick = "MyOrvex") {
    return new ServerInfo(false, "dev-" + ip, ip, nick, true);
}

} // namespace

TEST(ServerInfo, DefaultsEqualityAndHash) {
    const ServerInfo info;
    EXPECT_EQ("ServerInfo", info.GetClassName());
    EXPECT_EQ("", info.deviceName);
    EXPECT_EQ("", info.ipAddress);
    EXPECT_EQ("MyOrvex", info.nickname);
    EXPECT_FALSE(info.showNickname);
    EXPECT_TRUE(info.reportErrors);

    ServerInfo a(true, "Orvex 7", "10.0.0.7", "Office", true);
    ServerInfo b(a);
    EXPECT_TRUE(a.IsEqual(&b));
    EXPECT_TRUE(a.IsSameObject(&b));
    const BaseObject other;
    EXPECT_FALSE(a.IsEqual(&other));
    b.reportErrors = false;
    EXPECT_FALSE(a.IsEqual(&b));
    // reportErrors does not enter the hash.
    EXPECT_EQ(a.Hash(), b.Hash());

    const uint32_t expected =
        ((BaseObject::HashString("Orvex 7") * 2 + BaseObject::HashString("10.0.0.7")) * 2 +
         BaseObject::HashString("Office")) *
            2 +
        BaseObject::HashFlag(true);
    EXPECT_EQ(expected, a.Hash());
    b.showNickname = false;
    EXPECT_NE(a.Hash(), b.Hash());
}

TEST_F(ServerListTest, OldSingleAddressIsTakenOverAndRemovedOnSave) {
    Put("ipaddress", "scanhost");
    Put("username", "old");
    Put("userpassword", "old");
    ServerList list;
    list.Load(Store());
    ASSERT_EQ(1, list.GetSize());
    EXPECT_EQ(0, list.GetSelectedIndex());
    const ServerInfo* server = list.GetSelected();
    ASSERT_NE(nullptr, server);
    EXPECT_EQ("scanhost", server->ipAddress);
    EXPECT_EQ("", server->deviceName);
    EXPECT_EQ("MyOrvex", server->nickname);
    EXPECT_TRUE(server->showNickname);

    list.Save(Store());
    EXPECT_EQ("1", Raw("numservers"));
    EXPECT_EQ("0", Raw("selectedserver"));
    EXPECT_EQ("", Raw("devicename_0"));
    EXPECT_EQ("scanhost", Raw("ipaddress_0"));
    EXPECT_EQ("MyOrvex", Raw("nickname_0"));
    EXPECT_EQ("1", Raw("show_nickname_0"));
    EXPECT_EQ("<missing>", Raw("ipaddress"));
    EXPECT_EQ("<missing>", Raw("username"));
    EXPECT_EQ("<missing>", Raw("userpassword"));
}

TEST_F(ServerListTest, NothingStoredLeavesTheListAlone) {
    ServerList list;
    list.Add(Server("a"));
    list.Load(Store());
    EXPECT_EQ(1, list.GetSize());
    EXPECT_EQ(0, list.GetSelectedIndex());
}

TEST_F(ServerListTest, LoadReadsSlotsAndDropsEmptyOnes) {
    Put("numservers", "4");
    Put("selectedserver", "2");
    StoreSlot(0, "", "", "", "1");
    StoreSlot(1, "Dev1", "10.0.0.1", "One", "10");
    StoreSlot(2, "Dev2", "10.0.0.2", "", "1x");
    StoreSlot(3, "", "10.0.0.3", "Three", "true");
    ServerList list;
    list.Add(Server("replaced"));
    list.Load(Store());

    ASSERT_EQ(3, list.GetSize());
    EXPECT_EQ("10.0.0.1", list.GetAt(0)->ipAddress);
    EXPECT_TRUE(list.GetAt(0)->showNickname);
    EXPECT_EQ("", list.GetAt(1)->nickname); // a missing nickname stays empty
    EXPECT_TRUE(list.GetAt(1)->showNickname);
    EXPECT_FALSE(list.GetAt(2)->showNickname);
    EXPECT_TRUE(list.GetAt(2)->reportErrors);
    // The selection follows its server when an empty slot before it goes.
    EXPECT_EQ(1, list.GetSelectedIndex());
    EXPECT_EQ("10.0.0.2", list.GetSelected()->ipAddress);
}

TEST_F(ServerListTest, StoredSelectionOutsideTheListSelectsNothing) {
    struct Case {
        const char* numservers;
        const char* selected; // nullptr: not stored
        int expected;
    };
    const Case cases[] = {
        {"2", nullptr, 0}, {"2", "1", 1},   {"2", "2", -1}, {"2", "7", -1},    {"2", "-1", -1},
        {"2", "-5", -1},   {"2", "one", 0}, {"0", "0", -1}, {"many", "0", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.numservers) + "/" + (c.selected ? c.selected : "none"));
        Store().DeleteValue("selectedserver");
        Put("numservers", c.numservers);
        if (c.selected) {
            Put("selectedserver", c.selected);
        }
        StoreSlot(0, "D0", "h0", "n0", "0");
        StoreSlot(1, "D1", "h1", "n1", "0");
        ServerList list;
        list.Load(Store());
        EXPECT_EQ(c.expected, list.GetSelectedIndex());
        EXPECT_EQ(c.expected >= 0, list.GetSelected() != nullptr);
    }
}

TEST_F(ServerListTest, SaveAlwaysWritesTheWholeList) {
    ServerList list;
    list.Add(Server("h0", "n0"));
    list.Add(Server("h1", "n1"));
    list.Add(Server("h2", "n2"));
    list.Save(Store());
    EXPECT_EQ("3", Raw("numservers"));
    EXPECT_EQ("2", Raw("selectedserver"));
    EXPECT_EQ("dev-h1", Raw("devicename_1"));
    EXPECT_EQ("0", Raw("show_nickname_1"));

    // Removing the selected server leaves none selected, and the store says so.
    list.RemoveAt(2);
    EXPECT_EQ(nullptr, list.GetSelected());
    list.RemoveAt(0);
    list.Save(Store());
    EXPECT_EQ("1", Raw("numservers"));
    EXPECT_EQ("-1", Raw("selectedserver"));
    EXPECT_EQ("h1", Raw("ipaddress_0"));
    // Values above the count stay but are never read.
    EXPECT_EQ("h2", Raw("ipaddress_2"));

    ServerList reloaded;
    reloaded.Load(Store());
    ASSERT_EQ(1, reloaded.GetSize());
    EXPECT_EQ("h1", reloaded.GetAt(0)->ipAddress);
    EXPECT_EQ(-1, reloaded.GetSelectedIndex());

    // An emptied list is stored empty.
    reloaded.RemoveAt(0);
    reloaded.Save(Store());
    EXPECT_EQ("0", Raw("numservers"));
    ServerList empty;
    empty.Load(Store());
    EXPECT_EQ(0, empty.GetSize());
}

TEST_F(ServerListTest, RoundTripKeepsEveryStoredField) {
    ServerList list;
    list.Add(new ServerInfo(true, "Orvex \xe3\x83\x86", "printer.example", "Front desk", false));
    list.Add(new ServerInfo(false, "Dev", "10.1.2.3", "", true));
    list.SetSelectedIndex(0);
    list.Save(Store());

    ServerList loaded;
    loaded.Load(Store());
    ASSERT_EQ(2, loaded.GetSize());
    EXPECT_EQ(0, loaded.GetSelectedIndex());
    const ServerInfo* first = loaded.GetAt(0);
    EXPECT_EQ("Orvex \xe3\x83\x86", first->deviceName);
    EXPECT_EQ("printer.example", first->ipAddress);
    EXPECT_EQ("Front desk", first->nickname);
    EXPECT_TRUE(first->showNickname);
    EXPECT_TRUE(first->reportErrors); // never stored: every loaded server reports
    EXPECT_EQ("", loaded.GetAt(1)->nickname);
}

TEST_F(ServerListTest, EmptySlotIsStoredBlankAndDroppedOnLoad) {
    ServerList list;
    list.Add(Server("h0"));
    list.Add(Server("h1"));
    list.SetAt(0, nullptr);
    EXPECT_EQ(2, list.GetSize());
    EXPECT_EQ(1, list.GetServerCount());
    list.Save(Store());
    EXPECT_EQ("", Raw("servername_0"));
    EXPECT_EQ("", Raw("ipaddress_0"));
    EXPECT_EQ("0", Raw("show_nickname_0"));
    ServerList loaded;
    loaded.Load(Store());
    ASSERT_EQ(1, loaded.GetSize());
    EXPECT_EQ("h1", loaded.GetAt(0)->ipAddress);
    EXPECT_EQ(0, loaded.GetSelectedIndex());
}

TEST(ServerList, SelectionFollowsAddAndRemove) {
    ServerList list;
    EXPECT_EQ(-1, list.GetSelectedIndex());
    EXPECT_EQ(0, list.Add(Server("a")));
    EXPECT_EQ(0, list.GetSelectedIndex());
    list.Add(Server("b"));
    list.Add(Server("c"));
    list.SetSelectedIndex(2);
    list.RemoveAt(0); // below the selection: it moves down with its server
    EXPECT_EQ(1, list.GetSelectedIndex());
    EXPECT_EQ("c", list.GetSelected()->ipAddress);
    list.SetSelectedIndex(0);
    list.RemoveAt(1); // above: unchanged
    EXPECT_EQ(0, list.GetSelectedIndex());
    list.RemoveAt(0);
    EXPECT_EQ(-1, list.GetSelectedIndex());
    EXPECT_EQ(nullptr, list.GetSelected());
    list.SetSelectedIndex(3); // no such slot
    EXPECT_EQ(-1, list.GetSelectedIndex());
}

TEST(ServerList, FindSetAtIndexOfAndSelectedAddress) {
    ServerList list;
    EXPECT_TRUE(list.SetSelectedAddress("Host.Example"));
    ASSERT_EQ(1, list.GetSize());
    EXPECT_EQ("MyOrvex", list.GetSelected()->nickname);
    EXPECT_FALSE(list.SetSelectedAddress("Host.Example"));
    EXPECT_TRUE(list.SetSelectedAddress("other"));
    EXPECT_EQ("other", list.GetAt(0)->ipAddress);

    list.Add(Server("Host.Example", "Nick"));
    EXPECT_EQ(1, list.FindByIpAddress("Host.Example"));
    EXPECT_EQ(-1, list.FindByIpAddress("host.example"));
    EXPECT_EQ(-1, list.FindByIpAddress("Host.Exampl"));
    EXPECT_EQ(1, list.FindByNickname("Nick"));
    EXPECT_EQ(-1, list.FindByNickname("nick"));

    ServerInfo* replacement = Server("r");
    list.SetAt(0, replacement);
    list.SetAt(0, replacement); // the same pointer again changes nothing
    int index = -1;
    EXPECT_TRUE(list.IndexOf(replacement, index));
    EXPECT_EQ(0, index);
    ServerInfo stranger;
    EXPECT_FALSE(list.IndexOf(&stranger, index));
    list.SetAt(0, nullptr);
    EXPECT_EQ(-1, list.FindByIpAddress("r"));
}

TEST(ServerList, CopiesAreDeep) {
    ServerList list;
    list.Add(Server("a"));
    list.Add(Server("b"));
    list.SetSelectedIndex(0);
    auto clone = list.Clone();
    ASSERT_EQ(2, clone->GetSize());
    EXPECT_EQ(0, clone->GetSelectedIndex());
    EXPECT_NE(list.GetAt(1), clone->GetAt(1));
    clone->GetAt(1)->ipAddress = "changed";
    EXPECT_EQ("b", list.GetAt(1)->ipAddress);

    ServerList assigned;
    assigned.Add(Server("x"));
    assigned = *clone;
    EXPECT_EQ("changed", assigned.GetAt(1)->ipAddress);
    EXPECT_EQ(0, assigned.GetSelectedIndex());
}
