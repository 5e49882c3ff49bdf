#include "AddressBook.h"
#include "AddressBookEx.h"
#include "OrvexSimControl.h"
#include "QuorvelWrapper.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class AddressBookTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        m_heapBlocks = OrvexSim_HeapBlocks();
        wrapper.reset(QuorvelWrapper::Create());
        ASSERT_EQ(QUORVEL_OK, wrapper->InitConnectToNonStandardServer("localhost", "guest", ""));
        OrvexSim_ClearLog();
    }
    void TearDown() override {
        wrapper.reset();
        // Every book and batch went back to the library.
        EXPECT_EQ(m_heapBlocks, OrvexSim_HeapBlocks());
        EXPECT_EQ(0, OrvexSim_BadFrees());
        OrvexSim_Reset();
    }

    // The log lines of the address-book calls, in order.
    static std::vector<std::string> BookCalls() {
        std::vector<std::string> lines;
        for (const std::string& line : OrvexSimLog()) {
            if (line.compare(0, 8, "ADDRESS_") == 0) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    static std::vector<std::string> Names(const AddressBookEx& book) {
        std::vector<std::string> names;
        EmailAddress address;
        for (int32_t i = 0; book.GetAt(i, address); ++i) {
            names.push_back(address.GetName() + " <" + address.GetAddress() + ">");
        }
        return names;
    }
    static bool Has(const std::string& line, const std::string& part) {
        return line.find(part) != std::string::npos;
    }

    std::unique_ptr<QuorvelWrapperIntf> wrapper;

private:
    int m_heapBlocks = 0;
};

} // namespace

TEST_F(AddressBookTest, WholeEmailBookIsAskedAsUsersThenUser) {
    {
        AddressBook book(wrapper.get(), AddressBook::EmailAddresses);
        EXPECT_TRUE(BookCalls().empty()) << "nothing is read before it is needed";
        ASSERT_EQ(25, book.GetCount());
        EXPECT_EQ("\"Zoe Adams\" <zoe.adams@example.com>", book.GetEntry(0));
        EXPECT_EQ("<anonymous@example.com>", book.GetEntry(7));
        EXPECT_EQ("", book.GetEntry(25));
    }
    const std::vector<std::string> calls = BookCalls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_TRUE(Has(calls[0], "ADDRESS_sGetAddrBook") && Has(calls[0], "name=\"users\""));
    EXPECT_TRUE(Has(calls[1], "ADDRESS_sGetAddrBook") && Has(calls[1], "name=\"user\""));
    EXPECT_TRUE(Has(calls[1], "-> 0"));
    EXPECT_TRUE(Has(calls[2], "ADDRESS_sFreeAddrBook"));
}

TEST_F(AddressBookTest, WholeBookOfOtherKinds) {
    AddressBook fax(wrapper.get(), AddressBook::FaxAddresses);
    ASSERT_EQ(2, fax.GetCount());
    EXPECT_EQ("\"branch fax\" <fax-branch@example.com>", fax.GetEntry(1));
    ASSERT_EQ(1u, BookCalls().size());
    EXPECT_TRUE(Has(BookCalls()[0], "name=\"emfax\""));

    OrvexSim_ClearLog();
    AddressBook other(wrapper.get(), 3);
    EXPECT_FALSE(other.Load());
    EXPECT_EQ(0, other.GetCount());
    EXPECT_EQ("", other.GetEntry(0));
    EXPECT_TRUE(BookCalls().empty());

    OrvexSim_FailNext("ADDRESS_sGetAddrBook", QUORVEL_ACCESS_DENIED);
    OrvexSim_FailNext("ADDRESS_sGetAddrBook", QUORVEL_ACCESS_DENIED);
    AddressBook refused(wrapper.get(), AddressBook::EmailAddresses);
    EXPECT_FALSE(refused.Load());
    EXPECT_EQ(25, refused.GetCount()) << "a later request loads again";
}

TEST_F(AddressBookTest, ServerBookIsReadInBatchesAndSortedByName) {
    const AddressBookEx book(wrapper.get(), AddressBookEx::ServerBook, nullptr,
                             AddressBookEx::EmailAddresses, "");
    const std::vector<std::string> expected = {
        " <anonymous@example.com>",
        "ALICE <alice.caps@example.com>", // case ties: upper case first, whatever the batch
        "alice <alice@example.com>",         "Bob <bob.upper@example.com>",
        "bob <bob.lower@example.com>",
        "Dave Two <dave.first@example.com>", // first of two values
        "Eve Late <eve@example.com>",        // a later attribute wins
        "Person 13 <person13@example.com>",  "Person 14 <person14@example.com>",
        "Person 15 <person15@example.com>",  "Person 16 <person16@example.com>",
        "Person 17 <person17@example.com>",  "Person 18 <person18@example.com>",
        "Person 19 <person19@example.com>",  "Person 20 <person20@example.com>",
        "Person 22 <person22@example.com>",  "Person 23 <person23@example.com>",
        "Person 24 <person24@example.com>",  "Person 25 <person25@example.com>",
        "Same Name <same1@example.com>", // equal names keep the order of the batches
        "Same Name <same2@example.com>",     "Same Name <same3@example.com>",
        "Zoe Adams <zoe.adams@example.com>",
    }; // no entry without an address ("Carol Nomail", "Frank Gone")
    EXPECT_EQ(expected, Names(book));

    const std::vector<std::string> calls = BookCalls();
    ASSERT_EQ(8u, calls.size());
    EXPECT_TRUE(Has(calls[0], "ADDRESS_OpenBookEx") && Has(calls[0], "selector=1") &&
                Has(calls[0], "name=\"user\""));
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Has(calls[1 + 2 * i], "ADDRESS_ReadBookEntriesEx") &&
                    Has(calls[1 + 2 * i], "batch=10"))
            << calls[1 + 2 * i];
        EXPECT_TRUE(Has(calls[2 + 2 * i], "ADDRESS_FreeBookEntriesEx")) << calls[2 + 2 * i];
    }
    EXPECT_TRUE(Has(calls[5], "count=5") && Has(calls[5], "end=1"));
    EXPECT_TRUE(Has(calls[7], "ADDRESS_CloseBookEx") && Has(calls[7], "-> 0"));
}

TEST_F(AddressBookTest, ServerBookNamesAreTriedInOrder) {
    OrvexSim_FailNext("ADDRESS_OpenBookEx", QUORVEL_ITEM_NOT_FOUND);
    const AddressBookEx email(wrapper.get(), AddressBookEx::ServerBook, nullptr, 1, "");
    EXPECT_EQ(0, email.GetCount()); // the default server has no "users" book
    std::vector<std::string> calls = BookCalls();
    ASSERT_EQ(2u, calls.size()) << "a failed open reads and closes nothing";
    EXPECT_TRUE(Has(calls[0], "name=\"user\""));
    EXPECT_TRUE(Has(calls[1], "name=\"users\""));

    OrvexSim_ClearLog();
    const AddressBookEx fax(wrapper.get(), AddressBookEx::ServerBook, nullptr, 2, "");
    EXPECT_EQ(2, fax.GetCount());
    calls = BookCalls();
    ASSERT_FALSE(calls.empty());
    EXPECT_TRUE(Has(calls[0], "name=\"emfax\""));
    EmailAddress first;
    ASSERT_TRUE(fax.GetAt(0, first));
    EXPECT_EQ("branch fax", first.GetName()); // sorted without case
}

TEST_F(AddressBookTest, DirectorySearchSendsTheEscapedFilter) {
    struct Case {
        const char* search;
        const char* value; // as it stands in each of the five terms
        std::vector<std::string> found;
    };
    const Case cases[] = {
        {"lee", "lee", {"Mei Lee <mei.lee@example.com>"}},
        {"r*M", "r\\\\2aM", {"Star*Man <starman@example.com>"}},
        {"(HQ)", "\\\\28HQ\\\\29", {"Paren (HQ) <hq@example.com>"}},
        {"k\\S", "k\\\\5cS", {"Back\\Slash <backslash@example.com>"}},
        {"nobody", "nobody", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.search);
        OrvexSim_ClearLog();
        const AddressBookEx book(wrapper.get(), AddressBookEx::DirectorySearch, nullptr, 1,
                                 c.search);
        EXPECT_EQ(c.found, Names(book));
        const std::vector<std::string> calls = BookCalls();
        ASSERT_FALSE(calls.empty());
        const std::string v = c.value;
        const std::string filter = "filter=\"(|(cn=*" + v + "*) (givenName=*" + v + "*)(sn=*" + v +
                                   "*)(displayName=*" + v + "*)(mail=*" + v + "*))\"";
        EXPECT_TRUE(Has(calls[0], "selector=16")) << calls[0];
        EXPECT_TRUE(Has(calls[0], filter)) << calls[0];
        EXPECT_TRUE(Has(calls[0], "names=[\"cn\" \"mail\"] limit=30")) << calls[0];
        EXPECT_TRUE(Has(calls[0], "-> 0")) << calls[0];
        EXPECT_TRUE(Has(calls.back(), "ADDRESS_CloseBookEx"));
    }
}

TEST_F(AddressBookTest, EmptyDirectorySearchSendsNoFilter) {
    const AddressBookEx book(wrapper.get(), AddressBookEx::DirectorySearch, nullptr, 1, "");
    EXPECT_EQ(5, book.GetCount()); // "Printer Room" has no address
    ASSERT_FALSE(BookCalls().empty());
    EXPECT_TRUE(Has(BookCalls()[0], "filter=null")) << BookCalls()[0];
    EmailAddress first;
    ASSERT_TRUE(book.GetAt(0, first));
    EXPECT_EQ("Back\\Slash", first.GetName());
}

TEST_F(AddressBookTest, FilterIsBuiltInFull) {
    // Inserted text is not searched again for placeholders.
    const std::string filter = AddressBookEx::BuildFilter("%s");
    EXPECT_EQ("(|(cn=*%s*) (givenName=*%s*)(sn=*%s*)(displayName=*%s*)(mail=*%s*))", filter);
    // No fixed buffer: a long text is neither cut nor refused.
    const std::string longText(200, 'x');
    const std::string longFilter = AddressBookEx::BuildFilter(longText);
    EXPECT_EQ(57u + 5 * 200u, longFilter.size());
    EXPECT_EQ("(|(cn=*\\00*)", AddressBookEx::BuildFilter(std::string(1, '\0')).substr(0, 12));

    const AddressBookEx book(wrapper.get(), AddressBookEx::DirectorySearch, nullptr, 1, longText);
    EXPECT_EQ(0, book.GetCount());
    ASSERT_FALSE(BookCalls().empty());
    EXPECT_TRUE(Has(BookCalls()[0], longFilter));
}

TEST_F(AddressBookTest, GetAtOutsideTheBookLeavesTheOutParameter) {
    const AddressBookEx book(wrapper.get(), AddressBookEx::ServerBook, nullptr, 2, "");
    EmailAddress out("keep", "keep@example.com");
    EXPECT_FALSE(book.GetAt(-1, out));
    EXPECT_FALSE(book.GetAt(book.GetCount(), out));
    EXPECT_EQ("keep", out.GetName());
    EXPECT_TRUE(book.GetAt(book.GetCount() - 1, out));
    EXPECT_NE("keep", out.GetName());
}

TEST_F(AddressBookTest, UnknownModeOpensNothingAndReadsOnce) {
    const AddressBookEx book(wrapper.get(), 7, nullptr, 1, "");
    EXPECT_EQ(0, book.GetCount());
    const std::vector<std::string> calls = BookCalls();
    ASSERT_EQ(2u, calls.size());
    EXPECT_TRUE(Has(calls[0], "ADDRESS_ReadBookEntriesEx"));
    EXPECT_TRUE(Has(calls[1], "ADDRESS_CloseBookEx"));
}

TEST_F(AddressBookTest, FailedReadEndsTheLoad) {
    OrvexSim_FailNext("ADDRESS_ReadBookEntriesEx", QUORVEL_CONNECTION_FAILED);
    const AddressBookEx book(wrapper.get(), AddressBookEx::ServerBook, nullptr, 1, "");
    EXPECT_EQ(0, book.GetCount());
    const std::vector<std::string> calls = BookCalls();
    ASSERT_EQ(3u, calls.size());
    EXPECT_TRUE(Has(calls[2], "ADDRESS_CloseBookEx"));
}

// The search text must be escaped: unescaped, the same texts widen the search or break the
// filter.
TEST_F(AddressBookTest, UnescapedTextWouldChangeTheSearch) {
    const auto search = [this](const char* filter, int& count) {
        char cn[] = "cn";
        char mail[] = "mail";
        char* names[] = {cn, mail};
        CorpLdapAttrNames attributes = {names, 2};
        QuorvelDirectoryQuery query = {0, filter, &attributes, 30};
        QuorvelDirectorySelection selection = {};
        selection.word1 = &selection.word2;
        selection.word4 = &selection.word6;
        selection.query = &query;
        const int opened = wrapper->AddressOpenBookEx(QUORVEL_BOOK_DIRECTORY_SEARCH, &selection);
        count = 0;
        if (opened == QUORVEL_OK) {
            QuorvelAddressEntryList* list = nullptr;
            int32_t atEnd = 0;
            EXPECT_EQ(QUORVEL_OK, wrapper->AddressReadBookEntriesEx(10, &list, &atEnd));
            count = list ? list->count : 0;
            wrapper->AddressFreeBookEntriesEx(list);
            wrapper->AddressCloseBookEx();
        }
        return opened;
    };
    int count = 0;
    EXPECT_EQ(QUORVEL_OK, search("(cn=*r*M*)", count));
    EXPECT_EQ(3, count); // "Robert Miller" and "Printer Room" as well as "Star*Man"
    EXPECT_EQ(QUORVEL_OK, search("(cn=*r\\2aM*)", count));
    EXPECT_EQ(1, count);
    EXPECT_EQ(QUORVEL_BAD_PARAM, search("(cn=*(HQ)*)", count));
    EXPECT_EQ(QUORVEL_BAD_PARAM, search("(cn=*k\\S*)", count));
    EXPECT_EQ(QUORVEL_OK, search("(&(sn=lee)(!(mail=x*)))", count));
    EXPECT_EQ(1, count);
}
