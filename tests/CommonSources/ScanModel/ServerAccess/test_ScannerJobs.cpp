// The Scanner's job list and tree against the simulated servers: directories by mailbox with
// jobs oldest first, numeric mailbox names, mailbox mode, look-up by id, deleting, and the
// failures (a reload that fails, a server that is down).

#include <memory>
#include <string>
#include <vector>

#include "QuorMemoryAllocator.h"
#include "Scanner.h"
#include "ScriptedScannerUi.h"
#include "ServerAccessTestSupport.h"
#include "ServerDownException.h"
#include "zylDirectory.h"
#include "zylImageFile.h"

namespace {

using Names = std::vector<std::string>;

// Entry names in place order ("-" for a hole), or the job ids of a mailbox directory.
Names EntryNames(const zylDirectory& directory) {
    Names names;
    for (std::uint32_t i = 0; i < directory.GetCount(); ++i) {
        const zylFileObj* const entry = directory.GetFileObjAt(i);
        names.push_back(entry ? entry->GetName() : "-");
    }
    return names;
}

std::vector<std::uint32_t> JobIds(const zylDirectory& directory) {
    std::vector<std::uint32_t> ids;
    for (std::uint32_t i = 0; i < directory.GetCount(); ++i) {
        if (const zylImageFile* image = directory.GetImageFileAt(i)) {
            ids.push_back(image->GetJobID());
        }
    }
    return ids;
}

class ScannerJobsTest : public ServerAccessTest {
protected:
    void TearDown() override {
        m_scanner.reset();
        ServerAccessTest::TearDown();
    }

    Scanner& ConnectTo(const std::string& address) {
        m_scanner = std::make_unique<Scanner>(&Fresh(), &m_ui, address, address);
        EXPECT_TRUE(m_scanner->IsConnected());
        OrvexSim_ClearLog();
        return *m_scanner;
    }

    ScriptedScannerUi m_ui;
    std::unique_ptr<Scanner> m_scanner;
};

TEST_F(ScannerJobsTest, TheTreeHasDirectoriesByMailboxWithJobsOldestFirst) {
    Scanner& scanner = ConnectTo("localhost");
    ASSERT_TRUE(scanner.RefreshJobs());
    EXPECT_TRUE(scanner.IsJobTreeLoaded());
    EXPECT_FALSE(scanner.HasCurrentImageFile());
    zylImageFile* const image = scanner.FindImageFileByJobID(104);
    ASSERT_NE(nullptr, image);
    const zylDirectory* const root = image->GetParent()->GetParent();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(nullptr, root->GetParent());
    // Text mailbox names on this server: "007" and "7" are two. A job without a MAILBOX key
    // (101, 106) and one with an empty value (105) are filed under their owners.
    EXPECT_EQ((Names{"CAMERA", "007", "7", "alice", "dave"}), EntryNames(*root));
    EXPECT_EQ(TWFY_CAMERA, root->GetFileObjAt(0)->GetFileType());
    EXPECT_EQ((std::vector<std::uint32_t>{102, 104}), JobIds(*root->GetDirectoryAt(1)));
    EXPECT_EQ((std::vector<std::uint32_t>{103}), JobIds(*root->GetDirectoryAt(2)));
    EXPECT_EQ((std::vector<std::uint32_t>{101, 106}), JobIds(*root->GetDirectoryAt(3)));
    EXPECT_EQ((std::vector<std::uint32_t>{105}), JobIds(*root->GetDirectoryAt(4)));
    EXPECT_EQ(1u, LogLinesOf("SCAN_getJobList").size()) << "found without another reload";

    scanner.SetCurrentImageFileFromJobID(106);
    EXPECT_EQ(106u, scanner.GetCurrentImageFile()->GetJobID());
    scanner.ChangeDirectoryByPath("007");
    EXPECT_EQ(102u, scanner.GetCurrentImageFile()->GetJobID()) << "its first job";
    EXPECT_EQ(2, m_ui.CountOf("ShowWarning Getting data from server 'localhost'."))
        << "one for the capabilities, one for the job list";
}

TEST_F(ScannerJobsTest, NumericMailboxNames007And7AreOneDirectory) {
    Scanner& scanner = ConnectTo("mailboxes"); // mailbox mode, numeric names
    const std::unique_ptr<zylDirectory> mailbox(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, mailbox);
    EXPECT_EQ("7", mailbox->GetName());
    EXPECT_EQ(nullptr, mailbox->GetParent()) << "a detached copy";
    EXPECT_EQ((std::vector<std::uint32_t>{201, 202}), JobIds(*mailbox));
    const std::vector<std::string> lists = LogLinesOf("SCAN_getJobListInMailbox");
    ASSERT_EQ(1u, lists.size());
    EXPECT_EQ("\"007\"", LogValue(lists[0], "mailbox"));

    // The same mailbox again: no second server call.
    const std::unique_ptr<zylDirectory> again(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(1u, LogLinesOf("SCAN_getJobListInMailbox").size());

    // Its jobs' page descriptions are asked with the mailbox and its password.
    zylImageFile* const image = scanner.FindImageFileByJobID(202);
    ASSERT_NE(nullptr, image);
    ScanPageInfo* const info = scanner.GetPageInfo(image, 1);
    ASSERT_NE(nullptr, info);
    QuorMemoryAllocator* const allocator =
        dynamic_cast<QuorMemoryAllocator*>(m_wrappers.back().get());
    ScanPageInfo* freed = info;
    allocator->FreeAttributeList(&freed, true);
    const std::string pageInfo = LogLinesOf("SCAN_getScanPageInfoInMailbox").at(0);
    EXPECT_EQ("\"007\"", LogValue(pageInfo, "mailbox"));
    EXPECT_EQ("\"1234\"", LogValue(pageInfo, "password"));

    EXPECT_EQ(nullptr, scanner.OpenMailbox("", "")) << "mailbox mode needs a name";
    EXPECT_EQ(nullptr, scanner.OpenMailbox("007", "wrong"));
}

// Selecting the open mailbox again keeps it as it is; another password is checked by the
// server, as opening it would be.
TEST_F(ScannerJobsTest, SelectingTheOpenMailboxAgainChecksAnotherPassword) {
    Scanner& scanner = ConnectTo("mailboxes");
    const std::unique_ptr<zylDirectory> opened(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, opened);
    scanner.SetCurrentImageFileFromJobID(201);
    ASSERT_TRUE(scanner.HasCurrentImageFile());

    const std::unique_ptr<zylDirectory> selected(scanner.SelectMailbox("007", "1234"));
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ((std::vector<std::uint32_t>{201, 202}), JobIds(*selected));
    EXPECT_TRUE(scanner.HasCurrentImageFile()) << "the current image stays";
    EXPECT_EQ(1u, LogLinesOf("SCAN_getJobListInMailbox").size()) << "no reload";

    EXPECT_EQ(nullptr, scanner.SelectMailbox("007", "wrong"))
        << "the jobs listed for the right password are not handed out for a wrong one";
    const std::vector<std::string> lists = LogLinesOf("SCAN_getJobListInMailbox");
    ASSERT_EQ(2u, lists.size());
    EXPECT_EQ("\"wrong\"", LogValue(lists[1], "password"));
    EXPECT_EQ(nullptr, scanner.SelectMailbox("007", "1234")) << "nothing listed any more";
    const std::unique_ptr<zylDirectory> reopened(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, reopened);
    // Job calls name the mailbox with the password it was opened with.
    ScanPageInfo* info = nullptr;
    ASSERT_FALSE(scanner.GetJobPageInfo(201, 1, &info, true));
    QuorMemoryAllocator* const allocator =
        dynamic_cast<QuorMemoryAllocator*>(m_wrappers.back().get());
    allocator->FreeAttributeList(&info, true);
    const std::string asked = LogLinesOf("SCAN_getScanPageInfoInMailbox").at(0);
    EXPECT_EQ("\"1234\"", LogValue(asked, "password"));
}

TEST_F(ScannerJobsTest, DeletingInAMailboxAndInTheSession) {
    Scanner& scanner = ConnectTo("mailboxes");
    std::unique_ptr<zylDirectory> mailbox(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, mailbox);
    EXPECT_EQ(QUORVEL_OK, scanner.DeleteJob(201));
    const std::string deleted = LogLinesOf("SCAN_deleteJobInMailbox").at(0);
    EXPECT_EQ("\"007\"", LogValue(deleted, "mailbox"));
    EXPECT_EQ("\"1234\"", LogValue(deleted, "password"));
    ASSERT_NE(nullptr, scanner.FindImageFileByJobID(201)) << "the tree waits for a reload";
    ASSERT_TRUE(scanner.RefreshJobsInMailbox("007", "1234"));
    mailbox.reset(scanner.SelectMailbox("007", "1234"));
    ASSERT_NE(nullptr, mailbox);
    EXPECT_EQ((std::vector<std::uint32_t>{202}), JobIds(*mailbox));

    Scanner& plain = ConnectTo("localhost");
    ASSERT_TRUE(plain.RefreshJobs());
    EXPECT_EQ(QUORVEL_OK, plain.DeleteJob(105));
    EXPECT_EQ(1u, LogLinesOf("SCAN_deleteJob").size());
    EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, plain.DeleteJob(105));
}

TEST_F(ScannerJobsTest, LookUpByIdReloadsOnceAtMost) {
    Scanner& scanner = ConnectTo("localhost");
    zylImageFile* const image = scanner.FindImageFileByJobID(103);
    ASSERT_NE(nullptr, image) << "the first look-up loads the tree";
    EXPECT_EQ(1u, LogLinesOf("SCAN_getJobList").size());
    EXPECT_EQ(nullptr, scanner.GetImageFileByJobID(999));
    EXPECT_EQ(2u, LogLinesOf("SCAN_getJobList").size()) << "one reload for an unknown job";
}

TEST_F(ScannerJobsTest, AServerWithoutJobsGivesTheCameraAlone) {
    Scanner& scanner = ConnectTo("caps-bare");
    ASSERT_TRUE(scanner.RefreshJobs());
    scanner.ChangeDirectoryByPath("CAMERA");
    EXPECT_FALSE(scanner.HasCurrentImageFile());
    EXPECT_EQ(nullptr, scanner.SelectMailbox("CAMERA", "")) << "the camera is no mailbox";
}

TEST_F(ScannerJobsTest, AFailedReloadLeavesNoTreeOverTheFreedList) {
    Scanner& scanner = ConnectTo("localhost");
    ASSERT_TRUE(scanner.RefreshJobs());
    scanner.SetCurrentImageFileFromJobID(103);
    ASSERT_TRUE(scanner.HasCurrentImageFile());
    OrvexSim_FailNext("SCAN_getJobList", QUORVEL_GENERAL_FAILURE);
    EXPECT_FALSE(scanner.RefreshJobs());
    EXPECT_FALSE(scanner.HasCurrentImageFile());
    EXPECT_EQ(nullptr, scanner.SelectMailbox("007", ""));
    scanner.SetCurrentImageFileFromJobID(103);
    EXPECT_FALSE(scanner.HasCurrentImageFile());
    // The next use loads afresh.
    const std::unique_ptr<zylDirectory> mailbox(scanner.OpenMailbox("007", ""));
    ASSERT_NE(nullptr, mailbox);
    EXPECT_EQ((std::vector<std::uint32_t>{102, 104}), JobIds(*mailbox));
}

TEST_F(ScannerJobsTest, BuildingTheTreeOfADownServerThrows) {
    Scanner& scanner = ConnectTo("localhost");
    scanner.StartNotifications();
    ASSERT_TRUE(scanner.RefreshJobs());
    OrvexSim_SetServerDown("default", 1);
    EXPECT_TRUE(scanner.IsServerDown());
    EXPECT_THROW(scanner.BuildJobTree(), ServerDownException);
    EXPECT_FALSE(scanner.RefreshJobs()) << "the list cannot be fetched";
    OrvexSim_SetServerDown("default", 0);
}

TEST_F(ScannerJobsTest, CountsAndMailboxQuestions) {
    Scanner& scanner = ConnectTo("mailboxes");
    EXPECT_EQ(1, scanner.GetNumDevices());
    EXPECT_EQ(2, scanner.GetNumPagesInJob(202));
    EXPECT_EQ(0, scanner.GetNumPagesInJob(999));
    EXPECT_TRUE(scanner.IsJobInMailbox("7", "1234", 201));
    EXPECT_FALSE(scanner.IsJobInMailbox("42", "", 201));
    ScanPageInfo* info = nullptr;
    EXPECT_TRUE(scanner.GetJobPageInfo(201, 1, &info, false)) << "no password, no answer";
    EXPECT_EQ(nullptr, info);
}

} // namespace
