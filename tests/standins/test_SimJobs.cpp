// Stored jobs of the simulated servers: job lists directly and by mailbox (passwords, numeric
// mailbox names), page descriptions, page counts, deletion, and malformed job fixtures.

#include "SimJobsTestSupport.h"

#include <algorithm>
#include <map>

namespace {

struct JobSummary {
    int id;
    std::string owner;
    std::string name;
    std::string date;
    uint32_t size;
    std::map<std::string, std::string> attributes;
};

class SimJobsTest : public SimTest {
protected:
    // The job list of a call, freed again; the result code in result.
    std::vector<JobSummary> Take(int result, ScanJobList* list, int expected = QUORVEL_OK) {
        EXPECT_EQ(expected, result);
        std::vector<JobSummary> jobs;
        if (!list) {
            return jobs;
        }
        for (int i = 0; i < list->count; ++i) {
            const ScanJobEntry& entry = list->entries[i];
            JobSummary job{entry.jobId, entry.owner, entry.name, entry.date, entry.size, {}};
            for (int a = 0; a < entry.attributes.count; ++a) {
                job.attributes[entry.attributes.keys[a]] = entry.attributes.values[a];
            }
            jobs.push_back(job);
        }
        EXPECT_EQ(QUORVEL_OK, SCAN_freeScanJobList(list, 0));
        return jobs;
    }

    std::vector<int> Ids(const std::vector<JobSummary>& jobs) {
        std::vector<int> ids;
        for (const JobSummary& job : jobs) {
            ids.push_back(job.id);
        }
        return ids;
    }

    std::vector<int> PlainList(QuorvelSessionHandle& session) {
        ScanJobList* list = nullptr;
        const int result = SCAN_getJobList(&session, &list, 0);
        return Ids(Take(result, list));
    }

    // Ids of a mailbox listing, or the failure code alone.
    std::vector<int> MailboxList(QuorvelSessionHandle& session, const char* mailbox,
                                 const char* password) {
        ScanJobList* list = nullptr;
        const int result = SCAN_getJobListInMailbox(&session, mailbox, password, &list, 0);
        if (result != QUORVEL_OK) {
            EXPECT_EQ(nullptr, list);
            return {result};
        }
        return Ids(Take(result, list));
    }

    QuorvelSessionHandle Session(const char* server = "localhost") {
        m_server = Connect(server);
        return OpenScanSession(m_server);
    }

    QuorvelServerHandle m_server = {};
};

TEST_F(SimJobsTest, DefaultServerListsEveryJobWithItsEntry) {
    QuorvelSessionHandle session = Session();
    ScanJobList* list = nullptr;
    const int result = SCAN_getJobList(&session, &list, 0);
    const std::vector<JobSummary> jobs = Take(result, list);
    EXPECT_EQ((std::vector<int>{101, 102, 103, 104, 105, 106}), Ids(jobs));
    ASSERT_EQ(6u, jobs.size());
    const JobSummary& contract = jobs[2];
    EXPECT_EQ("carol", contract.owner);
    EXPECT_EQ("Signed contract", contract.name);
    EXPECT_EQ("Tue Dec  8 14:15:00 2026", contract.date);
    const uint32_t pages =
        static_cast<uint32_t>(ServerFileBytes("default\\jobs\\103\\page1.tif").size() +
                              ServerFileBytes("default\\jobs\\103\\page2.tif").size() +
                              ServerFileBytes("default\\jobs\\103\\page3.tif").size());
    EXPECT_EQ(pages, contract.size) << "the size of a job is that of its page files";
    EXPECT_EQ("7", contract.attributes.at("MAILBOX"));
    EXPECT_EQ("3", contract.attributes.at("N_PAGES"));
    EXPECT_EQ(0u, contract.attributes.count("entry.owner")) << "entry fields are no attributes";
    EXPECT_EQ("", jobs[4].attributes.at("MAILBOX"));
    EXPECT_EQ(0u, jobs[0].attributes.count("MAILBOX"));
    const std::vector<std::string> lines = LogLinesOf("SCAN_getJobList");
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(Contains(lines[0], "-> 0 count=6 [jobs 101,102,103,104,105,106]")) << lines[0];
}

TEST_F(SimJobsTest, MailboxesOfAServerWithoutPasswordsOrNumbers) {
    QuorvelSessionHandle session = Session();
    // String names: "007" and "7" are two mailboxes; passwords are not asked.
    EXPECT_EQ((std::vector<int>{102, 104}), MailboxList(session, "007", ""));
    EXPECT_EQ((std::vector<int>{103}), MailboxList(session, "7", "wrong"));
    EXPECT_EQ((std::vector<int>{QUORVEL_ITEM_NOT_FOUND}), MailboxList(session, "0007", ""));
    EXPECT_EQ((std::vector<int>{101, 102, 103, 104, 105, 106}), MailboxList(session, "", ""));
}

TEST_F(SimJobsTest, MailboxesWithPasswordsAndNumericNames) {
    QuorvelSessionHandle session = Session("mailboxes");
    // The plain list and the empty mailbox show what no password protects.
    EXPECT_EQ((std::vector<int>{203, 204}), PlainList(session));
    EXPECT_EQ((std::vector<int>{203, 204}), MailboxList(session, "", ""));
    struct Case {
        const char* mailbox;
        const char* password;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"007", "1234", {201, 202}},
        {"7", "1234", {201, 202}},
        {"0007", "1234", {201, 202}},
        {"007", "4321", {QUORVEL_ACCESS_DENIED}},
        {"7", "", {QUORVEL_ACCESS_DENIED}},
        {"42", "", {204}},
        {"042", "anything", {204}},
        {"Sales", "s3cret", {205}},
        {"sales", "s3cret", {QUORVEL_ITEM_NOT_FOUND}},
        {"99", "", {QUORVEL_ITEM_NOT_FOUND}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, MailboxList(session, c.mailbox, c.password))
            << c.mailbox << " / " << c.password;
    }
    ScanJobList* list = nullptr;
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_getJobListInMailbox(&session, nullptr, "", &list, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_getJobListInMailbox(&session, "7", "1234", nullptr, 0));
}

TEST_F(SimJobsTest, IsJobInMailbox) {
    QuorvelSessionHandle session = Session("mailboxes");
    struct Case {
        const char* mailbox;
        const char* password;
        int job;
        int result;
        int32_t in;
    };
    const Case cases[] = {
        {"7", "1234", 201, QUORVEL_OK, 1},
        {"007", "1234", 202, QUORVEL_OK, 1},
        {"42", "", 201, QUORVEL_OK, 0},
        {"", "", 203, QUORVEL_OK, 1},
        {"7", "bad", 201, QUORVEL_ACCESS_DENIED, 0},
        {"7", "1234", 999, QUORVEL_JOB_NOT_FOUND, 0},
    };
    for (const Case& c : cases) {
        int32_t in = 7;
        EXPECT_EQ(c.result, SCAN_isJobInMailbox(&session, c.mailbox, c.password, c.job, &in, 0))
            << c.mailbox << " " << c.job;
        EXPECT_EQ(c.in, in) << c.mailbox << " " << c.job;
    }
}

TEST_F(SimJobsTest, PageDescriptions) {
    QuorvelSessionHandle session = Session();
    ScanPageInfo* info = nullptr;
    ASSERT_EQ(QUORVEL_OK, SCAN_getScanPageInfo(&session, 106, 2, &info, 0));
    std::vector<std::string> pairs;
    for (int i = 0; i < info->count; ++i) {
        pairs.push_back(std::string(info->keys[i]) + "=" + info->values[i]);
        quorvel_free(info->keys[i]);
        quorvel_free(info->values[i]);
    }
    quorvel_free(info->keys);
    quorvel_free(info->values);
    quorvel_free(info);
    // The picture's values, then those of page2.txt.
    const std::vector<std::string> expected = {
        "X_PIXELS=400",     "Y_PIXELS=300",           "X_RESOLUTION=100",
        "Y_RESOLUTION=100", "COLOR_MODE=BLACK_WHITE", "BITS_PER_PIXEL=1",
        "N_CHANNELS=1",     "FILE_FORMAT=TIFF",       "COLOR_MODE_STR=BLACK_WHITE",
        "PAGESIZE=LetR"};
    EXPECT_EQ(expected, pairs);

    struct Case {
        int job;
        int page;
        const char* key;
        const char* value;
    };
    const Case values[] = {{101, 1, "COLOR_MODE", "COLOR"},     {101, 2, "N_CHANNELS", "3"},
                           {102, 1, "COLOR_MODE", "GRAYSCALE"}, {102, 1, "X_RESOLUTION", "150"},
                           {105, 1, "BITS_PER_PIXEL", "8"},     {106, 1, "Y_PIXELS", "400"}};
    for (const Case& c : values) {
        ASSERT_EQ(QUORVEL_OK, SCAN_getScanPageInfo(&session, c.job, c.page, &info, 0));
        bool found = false;
        for (int i = 0; i < info->count; ++i) {
            if (std::string(info->keys[i]) == c.key) {
                EXPECT_STREQ(c.value, info->values[i]) << c.job << " " << c.key;
                found = true;
            }
            quorvel_free(info->keys[i]);
            quorvel_free(info->values[i]);
        }
        EXPECT_TRUE(found) << c.key;
        quorvel_free(info->keys);
        quorvel_free(info->values);
        quorvel_free(info);
    }
    for (int page : {0, 3, -1}) {
        info = reinterpret_cast<ScanPageInfo*>(1);
        EXPECT_EQ(QUORVEL_ITEM_NOT_FOUND, SCAN_getScanPageInfo(&session, 106, page, &info, 0));
        EXPECT_EQ(nullptr, info);
    }
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_getScanPageInfo(&session, 999, 1, &info, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_getScanPageInfo(&session, 101, 1, nullptr, 0));
}

TEST_F(SimJobsTest, APageDescriptionFileOverridesThePicture) {
    QuorvelSessionHandle session = Session("badpages");
    ScanPageInfo* info = nullptr;
    ASSERT_EQ(QUORVEL_OK, SCAN_getScanPageInfo(&session, 306, 1, &info, 0));
    ASSERT_GE(info->count, 2);
    EXPECT_STREQ("X_PIXELS", info->keys[0]);
    EXPECT_STREQ("0", info->values[0]) << "page1.txt says the page has no size";
    EXPECT_STREQ("0", info->values[1]);
    for (int i = 0; i < info->count; ++i) {
        quorvel_free(info->keys[i]);
        quorvel_free(info->values[i]);
    }
    quorvel_free(info->keys);
    quorvel_free(info->values);
    quorvel_free(info);
}

TEST_F(SimJobsTest, PageDescriptionsInMailboxes) {
    QuorvelSessionHandle session = Session("mailboxes");
    ScanPageInfo* info = nullptr;
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, SCAN_getScanPageInfo(&session, 202, 1, &info, 0));
    EXPECT_EQ(QUORVEL_ACCESS_DENIED,
              SCAN_getScanPageInfoInMailbox(&session, "", "", 202, 1, &info, 0));
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND,
              SCAN_getScanPageInfoInMailbox(&session, "42", "", 202, 1, &info, 0));
    ASSERT_EQ(QUORVEL_OK, SCAN_getScanPageInfoInMailbox(&session, "007", "1234", 202, 2, &info, 0));
    EXPECT_STREQ("X_PIXELS", info->keys[0]);
    EXPECT_STREQ("400", info->values[0]);
    for (int i = 0; i < info->count; ++i) {
        quorvel_free(info->keys[i]);
        quorvel_free(info->values[i]);
    }
    quorvel_free(info->keys);
    quorvel_free(info->values);
    quorvel_free(info);
}

TEST_F(SimJobsTest, PageCounts) {
    QuorvelSessionHandle session = Session();
    int32_t count = -5;
    EXPECT_EQ(QUORVEL_OK, SCAN_getNumPagesInJob(&session, 103, &count, 0));
    EXPECT_EQ(3, count);
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_getNumPagesInJob(&session, 1, &count, 0));
    EXPECT_EQ(0, count);
    QuorvelSessionHandle bad = Session("badpages");
    const std::pair<int, int> claims[] = {
        {301, 0}, {302, 40000}, {303, -1}, {304, 32768}, {305, 32767}};
    for (const auto& claim : claims) {
        EXPECT_EQ(QUORVEL_OK, SCAN_getNumPagesInJob(&bad, claim.first, &count, 0));
        EXPECT_EQ(claim.second, count) << claim.first;
    }
}

TEST_F(SimJobsTest, DeletedJobsStayGoneUntilReset) {
    QuorvelSessionHandle session = Session();
    EXPECT_EQ(QUORVEL_OK, SCAN_deleteJob(&session, 101, 0));
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_deleteJob(&session, 101, 0));
    EXPECT_EQ((std::vector<int>{102, 103, 104, 105, 106}), PlainList(session));
    int32_t count = 0;
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_getNumPagesInJob(&session, 101, &count, 0));
    quorvel_unload();
    QuorvelSessionHandle again = Session();
    EXPECT_EQ((std::vector<int>{102, 103, 104, 105, 106}), PlainList(again))
        << "the server keeps its deletions across connections";
    OrvexSim_Reset();
    QuorvelSessionHandle fresh = Session();
    EXPECT_EQ((std::vector<int>{101, 102, 103, 104, 105, 106}), PlainList(fresh));
}

TEST_F(SimJobsTest, DeletingInMailboxes) {
    QuorvelSessionHandle session = Session("mailboxes");
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, SCAN_deleteJob(&session, 201, 0));
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, SCAN_deleteJobInMailbox(&session, "7", "bad", 201, 0));
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, SCAN_deleteJobInMailbox(&session, "42", "", 201, 0));
    EXPECT_EQ(QUORVEL_OK, SCAN_deleteJobInMailbox(&session, "007", "1234", 201, 0));
    EXPECT_EQ((std::vector<int>{202}), MailboxList(session, "7", "1234"));
    EXPECT_EQ(QUORVEL_OK, SCAN_deleteJob(&session, 203, 0));
    EXPECT_EQ((std::vector<int>{204}), PlainList(session));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_deleteJobInMailbox(&session, nullptr, "", 204, 0));
}

TEST_F(SimJobsTest, JobCallsNeedAScanSessionOfALiveServer) {
    QuorvelSessionHandle session = Session();
    int32_t count = 0;
    ScanJobList* list = reinterpret_cast<ScanJobList*>(1);
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_getJobList(&session, nullptr, 0));
    OrvexSim_FailNext("SCAN_getJobList", QUORVEL_TIMEOUT);
    EXPECT_EQ(QUORVEL_TIMEOUT, SCAN_getJobList(&session, &list, 0));
    EXPECT_EQ(nullptr, list);
    OrvexSim_SetServerDown("default", 1);
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, SCAN_getJobList(&session, &list, 0));
    EXPECT_EQ(QUORVEL_CONNECTION_FAILED, SCAN_deleteJob(&session, 101, 0));
    OrvexSim_SetServerDown("default", 0);
    EXPECT_EQ(QUORVEL_OK, SCAN_closeSession(&session, 0));
    EXPECT_EQ(QUORVEL_INVALID_HANDLE, SCAN_getNumPagesInJob(&session, 101, &count, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SCAN_getJobList(nullptr, &list, 0));
}

class SimJobFixtureTest : public SimJobsTest {
protected:
    void SetUp() override {
        SimJobsTest::SetUp();
        m_page = ServerFileBytes("default\\jobs\\105\\page1.jpg");
        ASSERT_FALSE(m_page.empty());
        OrvexSim_SetFixtureRoot(m_root.Path().c_str());
        m_root.Write("lab", "jobs\\1\\job.txt", "entry.owner = o\nFILE_FORMAT = JPEG\n");
        m_root.Write("lab", "jobs\\1\\page1.jpg", m_page);
    }

    // The result of listing "lab", with the log line's note.
    int ListLab(std::string& note) {
        OrvexSim_ClearLog();
        QuorvelServerHandle server = Connect("lab");
        QuorvelSessionHandle session = OpenScanSession(server);
        ScanJobList* list = nullptr;
        const int result = SCAN_getJobList(&session, &list, 0);
        if (list) {
            SCAN_freeScanJobList(list, 0);
        }
        const std::vector<std::string> lines = LogLinesOf("SCAN_getJobList");
        note = lines.empty() ? "" : lines[0];
        quorvel_unload();
        return result;
    }

    TempFixtureRoot m_root;
    std::string m_page;
};

TEST_F(SimJobFixtureTest, ATextOnlyServerWorks) {
    m_root.Write("lab", "jobs\\2\\job.txt",
                 "entry.size = 77\nentry.pages = 4\nentry.name = "
                 "a name longer than thirty-one characters\nMAILBOX = x\n");
    std::string note;
    EXPECT_EQ(QUORVEL_OK, ListLab(note)) << note;
    QuorvelServerHandle server = Connect("lab");
    QuorvelSessionHandle session = OpenScanSession(server);
    ScanJobList* list = nullptr;
    const int result = SCAN_getJobList(&session, &list, 0);
    const std::vector<JobSummary> jobs = Take(result, list);
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ(m_page.size(), jobs[0].size);
    EXPECT_EQ("", jobs[0].date);
    EXPECT_EQ(77u, jobs[1].size);
    EXPECT_EQ("a name longer than thirty-one c", jobs[1].name) << "cut to the 32-byte field";
    int32_t count = 0;
    EXPECT_EQ(QUORVEL_OK, SCAN_getNumPagesInJob(&session, 2, &count, 0));
    EXPECT_EQ(4, count);
    ScanPageInfo* info = nullptr;
    EXPECT_EQ(QUORVEL_ITEM_NOT_FOUND, SCAN_getScanPageInfo(&session, 2, 1, &info, 0))
        << "a job without page files has no pages";
}

// Job folders and page data are kept between calls; a page rewritten in place, or added,
// must still be seen, also when the files are dated long ago.
TEST_F(SimJobFixtureTest, PagesChangedBetweenCallsAreSeen) {
    const std::string other = ServerFileBytes("default\\jobs\\101\\page1.jpg");
    ASSERT_NE(m_page.size(), other.size());
    OrvexSim_SetFixtureRoot(m_root.Path().c_str());
    for (const char* relative : {"jobs\\1\\page1.jpg", "jobs\\1\\job.txt", "jobs\\1", "jobs", ""}) {
        m_root.SetWriteTime("lab", relative, MinutesAgo(60));
    }
    QuorvelSessionHandle session = Session("lab");
    RequestList request{{"PAGE", "1"}};
    int result = 0;
    auto pageOne = [&] { return DownloadAll(session, 1, request.Get(), 65536, result); };
    auto jobSize = [&] {
        ScanJobList* list = nullptr;
        const int listed = SCAN_getJobList(&session, &list, 0);
        const std::vector<JobSummary> jobs = Take(listed, list);
        return jobs.empty() ? 0u : jobs[0].size;
    };
    EXPECT_TRUE(pageOne() == m_page);
    EXPECT_TRUE(pageOne() == m_page);
    EXPECT_EQ(m_page.size(), jobSize());
    m_root.Write("lab", "jobs\\1\\page1.jpg", other);
    m_root.SetWriteTime("lab", "jobs\\1\\page1.jpg", MinutesAgo(50));
    EXPECT_TRUE(pageOne() == other) << "the rewritten page";
    EXPECT_EQ(other.size(), jobSize());
    m_root.Write("lab", "jobs\\1\\page2.jpg", m_page);
    m_root.SetWriteTime("lab", "jobs\\1\\page2.jpg", MinutesAgo(40));
    m_root.SetWriteTime("lab", "jobs\\1", MinutesAgo(40));
    int32_t count = 0;
    EXPECT_EQ(QUORVEL_OK, SCAN_getNumPagesInJob(&session, 1, &count, 0));
    EXPECT_EQ(2, count) << "the added page";
    EXPECT_EQ(other.size() + m_page.size(), jobSize());
}

TEST_F(SimJobFixtureTest, MalformedJobFixtures) {
    struct Case {
        const char* file;
        std::string content;
        const char* reason;
    };
    const Case cases[] = {
        {"jobs\\abc\\job.txt", "A = 1\n", "not a job folder"},
        {"jobs\\012\\job.txt", "A = 1\n", "not a job folder"},
        {"jobs\\3\\page1.jpg", "x", "no job.txt"},
        {"jobs\\1\\job.txt", "FILE_FORMAT JPEG\n", "line 1: no \" = \""},
        {"jobs\\1\\job.txt", "entry.size = big\n", "entry.size is not a size"},
        {"jobs\\1\\job.txt", "entry.pages = some\n", "entry.pages is not a number"},
        {"jobs\\1\\job.txt", "entry.colour = red\n", "unknown entry field entry.colour"},
        {"jobs\\1\\notes.txt", "A = 1\n", "not a page file"},
        {"jobs\\1\\page3.jpg", "x", "page 2 is missing"},
        {"jobs\\1\\page1.tif", "x", "a second file for this page"},
        {"jobs\\1\\page2.txt", "A = 1\n", "describes a page that has no file"},
        {"jobs\\1\\page1.txt", "A 1\n", "line 1: no \" = \""},
        {"mailboxes.txt", "7 1234\n", "line 1: no \" = \""},
        {"attributes.txt", "E_MBOX_PASSWORD\n", "line 1: no \" = \""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempFixtureRoot root;
        OrvexSim_SetFixtureRoot(root.Path().c_str());
        root.Write("lab", "jobs\\1\\job.txt", "FILE_FORMAT = JPEG\n");
        root.Write("lab", "jobs\\1\\page1.jpg", m_page);
        root.Write("lab", c.file, c.content);
        std::string note;
        EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES, ListLab(note));
        EXPECT_TRUE(Contains(note, c.reason)) << note;
    }
}

} // namespace
