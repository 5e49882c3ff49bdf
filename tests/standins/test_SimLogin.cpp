// The corporate directory of the simulated servers: log-in accounts, binding, searches with
// their entry lists, and authentication ids of domain accounts.

#include <string>
#include <vector>

#include "SimTestSupport.h"

namespace {

class SimLoginTest : public SimTest {
protected:
    QuorvelLdapSession OpenDirectory(QuorvelServerHandle& server) {
        QuorvelLdapSession session = {};
        EXPECT_EQ(QUORVEL_OK, CORP_ldapOpenSession(&server, &session, 0, 0, 0));
        return session;
    }

    // The entries of a search, as attribute-name=first-value texts per entry.
    static std::vector<std::vector<std::string>> Search(QuorvelLdapSession& session, int scope,
                                                        const char* filter,
                                                        std::vector<const char*> names) {
        CorpLdapAttrNames asked = {const_cast<char**>(names.data()),
                                   static_cast<int32_t>(names.size())};
        EXPECT_EQ(QUORVEL_OK, CORP_ldapSearch(&session, 0, scope, filter, &asked, 10, 60, 0));
        int32_t count = -1;
        CorpLdapEntryList* list = nullptr;
        EXPECT_EQ(QUORVEL_OK, CORP_ldapGetEntryListEx(&session, &count, &list, 0, 0));
        std::vector<std::vector<std::string>> entries;
        if (!list) {
            return entries;
        }
        EXPECT_EQ(count, list->count);
        for (int32_t e = 0; e < list->count; ++e) {
            std::vector<std::string> texts;
            const CorpLdapEntry* entry = list->entries[e];
            for (int32_t a = 0; a < entry->count; ++a) {
                const CorpLdapAttr& attr = entry->attrs[a];
                std::string value;
                if (attr.count > 0) {
                    value.assign(attr.values[0].data, static_cast<size_t>(attr.values[0].length));
                }
                texts.push_back(std::string(attr.name) + "=" + value);
            }
            entries.push_back(texts);
        }
        return entries;
    }
};

TEST_F(SimLoginTest, AnAccountAuthenticatesBindsAndFindsItsEntry) {
    QuorvelServerHandle server = Connect("login");
    QuorvelLdapSession session = OpenDirectory(server);
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, CORP_ldapBindEx(&session, 0, 0, 0, 0, 0));
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, CORP_Authenticate(&server, 0, 0, "alice", "wrong", 0, 0));
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, CORP_Authenticate(&server, 0, 0, "carol", "", 0, 0))
        << "an entry without a password is no account";
    EXPECT_EQ(QUORVEL_OK, CORP_Authenticate(&server, 0, 0, "ALICE", "wonder", 0, 0));
    EXPECT_EQ(QUORVEL_OK, CORP_ldapBindEx(&session, 0, 0, 0, 0, 0));

    const auto found = Search(session, 2, "(samAccountName=alice)", {"mail", "cn"});
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ((std::vector<std::string>{"mail=alice@example.com", "cn=Alice Liddell"}), found[0]);
    // Only the attributes the entry has, in the order asked.
    const auto bob = Search(session, 2, "(samAccountName=bob)", {"mail", "cn"});
    ASSERT_EQ(1u, bob.size());
    EXPECT_EQ((std::vector<std::string>{"cn=Bob Builder"}), bob[0]);

    EXPECT_EQ(QUORVEL_OK, CORP_ldapCloseSession(&session, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, CORP_ldapBindEx(&session, 0, 0, 0, 0, 0));
}

TEST_F(SimLoginTest, EscapedFilterValuesMatchOnlyThemselves) {
    QuorvelServerHandle server = Connect("login");
    QuorvelLdapSession session = OpenDirectory(server);
    ASSERT_EQ(QUORVEL_OK, CORP_Authenticate(&server, 0, 0, "star*", "asterisk", 0, 0));
    ASSERT_EQ(QUORVEL_OK, CORP_ldapBindEx(&session, 0, 0, 0, 0, 0));
    EXPECT_EQ(2u, Search(session, 2, "(samAccountName=star*)", {"cn"}).size());
    const auto exact = Search(session, 2, "(samAccountName=star\\2a)", {"cn"});
    ASSERT_EQ(1u, exact.size());
    EXPECT_EQ("cn=Star Asterisk", exact[0][0]);
    EXPECT_EQ(QUORVEL_BAD_PARAM,
              CORP_ldapSearch(&session, 0, 2, "(samAccountName=a)(mail=*)", nullptr, 10, 60, 0));
    EXPECT_EQ(QUORVEL_OK, CORP_ldapCloseSession(&session, 0));
}

TEST_F(SimLoginTest, SearchesNeedABindExceptTheRootEntry) {
    QuorvelServerHandle server = Connect("login");
    QuorvelLdapSession session = OpenDirectory(server);
    int32_t count = 0;
    CorpLdapEntryList* list = nullptr;
    EXPECT_EQ(QUORVEL_BAD_PARAM, CORP_ldapGetEntryListEx(&session, &count, &list, 0, 0))
        << "no search yet";
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, CORP_ldapSearch(&session, 0, 2, "(cn=*)", nullptr, 10, 60, 0));
    const auto root = Search(session, 0, "(objectClass=*)", {"defaultNamingContext"});
    ASSERT_EQ(1u, root.size());
    EXPECT_EQ((std::vector<std::string>{"defaultNamingContext=DC=example,DC=com"}), root[0]);
    EXPECT_EQ(QUORVEL_OK, CORP_ldapCloseSession(&session, 0));
}

TEST_F(SimLoginTest, ServersWithoutADirectoryAndServersGoneDown) {
    QuorvelServerHandle bare = Connect("caps-bare");
    QuorvelLdapSession none = {};
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE, CORP_ldapOpenSession(&bare, &none, 0, 0, 0));

    QuorvelServerHandle server = Connect("login");
    QuorvelLdapSession session = OpenDirectory(server);
    OrvexSim_SetServerDown("login", 1);
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, CORP_Authenticate(&server, 0, 0, "alice", "wonder", 0, 0));
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, CORP_ldapBindEx(&session, 0, 0, 0, 0, 0));
    EXPECT_EQ(QUORVEL_OK, CORP_ldapCloseSession(&session, 0)) << "closing still works";
}

TEST_F(SimLoginTest, DomainAccountsHaveAuthenticationIds) {
    QuorvelServerHandle server = Connect("login");
    char* id = nullptr;
    int32_t extra = -1;
    EXPECT_EQ(QUORVEL_OK, AUTH_getAuthIDEx(&server, "Alice", "corp", 5, 0, &id, &extra, 0));
    ASSERT_NE(nullptr, id);
    EXPECT_STREQ("S-1-5-21-7-1001", id);
    EXPECT_EQ(0, extra);
    EXPECT_EQ(QUORVEL_ITEM_NOT_FOUND,
              AUTH_getAuthIDEx(&server, "alice", "OTHER", 5, 0, &id, &extra, 0));
    EXPECT_EQ(nullptr, id);
    EXPECT_EQ(QUORVEL_BAD_PARAM, AUTH_getAuthIDEx(&server, "alice", "corp", 4, 0, &id, &extra, 0));

    QuorvelServerHandle plain = Connect("localhost");
    EXPECT_EQ(QUORVEL_FUNCTION_NOT_AVAILABLE,
              AUTH_getAuthIDEx(&plain, "alice", "corp", 5, 0, &id, &extra, 0));
}

} // namespace
