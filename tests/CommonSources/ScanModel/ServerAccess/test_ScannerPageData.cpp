// The Scanner's page data against the simulated servers: saving a job to disk (one file per
// page for JPEG), the server's failures during a save, the user's stop, sending, reads once the
// server is down, FTP validation and authentication ids.

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "FileSpec.h"
#include "QuorvelWrapperException.h"
#include "ScanAttributeWrapper.h"
#include "Scanner.h"
#include "ScriptedScannerUi.h"
#include "ServerAccessTestSupport.h"
#include "ServerDownException.h"
#include "zylDirectory.h"

namespace {

using CallList = std::vector<std::string>;

// The login script of ScriptedScannerUi, and a record of what a save asks of the windows.
class SaveUi : public ScriptedScannerUi {
public:
    bool stop = false;
    CallList saveCalls;

    bool IsAcquireActive() override { return stop; }
    void ShowErrorMessage(int id) override { saveCalls.push_back("Error " + std::to_string(id)); }
    void NotifyCloseRequest() override { saveCalls.push_back("CloseRequest"); }
    void StartBusyAnimation(const std::string& text) override {
        saveCalls.push_back("Busy " + text);
    }
    void StopBusyAnimation() override { saveCalls.push_back("StopBusy"); }
};

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class ScannerPageDataTest : public ServerAccessTest {
protected:
    void TearDown() override {
        for (const std::string& path : m_files) {
            std::remove(path.c_str());
        }
        m_scanner.reset();
        ServerAccessTest::TearDown();
    }

    Scanner& ConnectTo(const std::string& address) {
        m_scanner = std::make_unique<Scanner>(&Fresh(), &m_ui, address, address);
        EXPECT_TRUE(m_scanner->IsConnected());
        OrvexSim_ClearLog();
        return *m_scanner;
    }

    // A file the test removes again.
    std::string File(const std::string& name) {
        m_files.push_back(TempPath(name));
        std::remove(m_files.back().c_str());
        return m_files.back();
    }

    // What the server hands the caller for a job, page (0: all) and format in one request.
    std::string ServerBytes(int jobId, int page, const std::string& format) {
        QuorvelWrapperIntf& wrapper = *m_wrappers.back();
        ScanAttributeWrapper request(&wrapper, nullptr);
        const int n = request.AddCallerDestination();
        request.SetDestinationPage(n, std::to_string(page));
        request.SetDestinationFormat(n, format);
        std::string bytes(16u << 20, '\0');
        int32_t size = static_cast<int32_t>(bytes.size());
        EXPECT_EQ(0, wrapper.ScanGetDataEx(jobId, request.GetServerList(), 0, &bytes[0], &size));
        bytes.resize(static_cast<size_t>(size));
        return bytes;
    }

    SaveUi m_ui;
    std::unique_ptr<Scanner> m_scanner;
    std::vector<std::string> m_files;
};

TEST_F(ScannerPageDataTest, SavingAJobWritesWhatTheServerSends) {
    Scanner& scanner = ConnectTo("localhost");
    const std::string tiff = File("save_job.tif");
    scanner.ProcessSaveToDisk(103, CommonCpp::FileSpec(tiff), "TIFF", -1);
    EXPECT_TRUE(FileBytes(tiff) == ServerBytes(103, 0, "TIFF")) << "the whole job";
    const std::string request = LogLinesOf("SCAN_getDataEx").at(0);
    EXPECT_TRUE(Contains(request, "\"DEST:1\"=\"CALLER\"")) << request;
    EXPECT_TRUE(Contains(request, "\"DEST_PAGE:1\"=\"0\"")) << request;
    EXPECT_EQ((CallList{"Busy Saving To Disk...", "StopBusy"}), m_ui.saveCalls);

    // Any other format is saved as PDF.
    const std::string pdf = File("save_job.pdf");
    OrvexSim_ClearLog();
    scanner.ProcessSaveToDisk(101, CommonCpp::FileSpec(pdf), "RAW", 2);
    EXPECT_TRUE(Contains(LogLinesOf("SCAN_getDataEx").at(0), "\"DEST_FORMAT:1\"=\"PDF\""));
    EXPECT_EQ("%PDF", FileBytes(pdf).substr(0, 4));
}

TEST_F(ScannerPageDataTest, JpegSavesOneFilePerPageNumberedBeforeTheExtension) {
    Scanner& scanner = ConnectTo("localhost");
    const std::vector<std::string> pages = {File("scan1.jpg"), File("scan2.jpg"),
                                            File("scan3.jpg")};
    const std::string given = File("scan.jpg");
    scanner.ProcessSaveToDisk(103, CommonCpp::FileSpec(given), "JPEG", 0);
    EXPECT_FALSE(Exists(given));
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_TRUE(FileBytes(pages[i]) == ServerBytes(103, static_cast<int>(i) + 1, "JPEG"))
            << pages[i];
    }

    // A name without an extension gets the number at its end; one page goes to the name given.
    const std::vector<std::string> bare = {File("scan_1"), File("scan_2"), File("scan_3")};
    scanner.ProcessSaveToDisk(103, CommonCpp::FileSpec(TempPath("scan_")), "JPEG", 0);
    for (const std::string& path : bare) {
        EXPECT_TRUE(Exists(path)) << path;
    }
    const std::string one = File("page2.jpg");
    scanner.ProcessSaveToDisk(103, CommonCpp::FileSpec(one), "JPEG", 2);
    EXPECT_TRUE(FileBytes(one) == ServerBytes(103, 2, "JPEG"));
}

TEST_F(ScannerPageDataTest, AnUnknownJobFailsCleanly) {
    Scanner& scanner = ConnectTo("localhost");
    const std::string given = File("unknown.jpg");
    try {
        scanner.ProcessSaveToDisk(999, CommonCpp::FileSpec(given), "JPEG", 0);
        FAIL() << "no exception";
    } catch (const QuorvelWrapperException& e) {
        EXPECT_EQ(QUORVEL_JOB_NOT_FOUND, e.GetResultCode());
    }
    EXPECT_FALSE(Exists(given));
    EXPECT_EQ("StopBusy", m_ui.saveCalls.back()) << "the busy display ends";
}

TEST_F(ScannerPageDataTest, ServerFailuresDuringASave) {
    Scanner& scanner = ConnectTo("localhost");
    const CommonCpp::FileSpec file(File("failing.tif"));

    // Time-outs are asked again.
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_TIMEOUT);
    EXPECT_TRUE(scanner.SaveASCanJobToDisk(102, file, "TIFF", 1, nullptr));
    EXPECT_TRUE(FileBytes(file.GetPath()) == ServerBytes(102, 1, "TIFF"));
    EXPECT_TRUE(m_ui.saveCalls.empty());

    // A lost connection ends the save with its message and a close request.
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_CONNECTION_FAILED);
    EXPECT_FALSE(scanner.SaveASCanJobToDisk(102, file, "TIFF", 1, nullptr));
    EXPECT_EQ((CallList{"StopBusy", "Error 20136", "CloseRequest"}), m_ui.saveCalls);

    m_ui.saveCalls.clear();
    OrvexSim_FailNext("SCAN_getDataEx", QUORVEL_SCAN_DEST_FAILED);
    try {
        scanner.SaveASCanJobToDisk(102, file, "TIFF", 1, nullptr);
        FAIL() << "no exception";
    } catch (const QuorvelWrapperException& e) {
        EXPECT_EQ(QUORVEL_SCAN_DEST_FAILED, e.GetResultCode());
    }
    EXPECT_EQ((CallList{"StopBusy", "Error 20168", "CloseRequest"}), m_ui.saveCalls);

    m_ui.saveCalls.clear();
    try {
        scanner.SaveASCanJobToDisk(102, file, "TIFF", 7, nullptr);
        FAIL() << "no exception";
    } catch (const QuorvelWrapperException& e) {
        EXPECT_EQ(QUORVEL_ITEM_NOT_FOUND, e.GetResultCode()) << "no such page";
    }
    EXPECT_TRUE(m_ui.saveCalls.empty());

    // The user's stop asks the application to close the source.
    m_ui.stop = true;
    EXPECT_FALSE(scanner.SaveASCanJobToDisk(102, file, "TIFF", 1, nullptr));
    EXPECT_EQ((CallList{"CloseRequest"}), m_ui.saveCalls);
}

TEST_F(ScannerPageDataTest, SendingNamesTheDestinationsAndMailbox) {
    Scanner& scanner = ConnectTo("mailboxes");
    const std::unique_ptr<zylDirectory> mailbox(scanner.OpenMailbox("007", "1234"));
    ASSERT_NE(nullptr, mailbox);
    ScanAttributeWrapper destinations(m_wrappers.back().get(), nullptr);
    destinations.AddHoldQueueDestination();
    EXPECT_EQ(QUORVEL_OK, scanner.DoSend(201, destinations.GetServerList()));
    const std::string sent = LogLinesOf("SCAN_getDataInMailbox").at(0);
    EXPECT_EQ("\"007\"", LogValue(sent, "mailbox"));
    EXPECT_TRUE(Contains(sent, "[sent 1 \"HOLDQ\"")) << sent;
}

TEST_F(ScannerPageDataTest, ReadsThrowOnceTheServerIsDown) {
    Scanner& scanner = ConnectTo("localhost");
    scanner.StartNotifications();
    ScanAttributeWrapper request(m_wrappers.back().get(), nullptr);
    request.SetAttribute("PAGE", "1");
    request.SetAttribute("FILE_FORMAT", "JPEG");
    std::vector<char> buffer(100);
    int32_t size = 100;
    scanner.ReadData(101, request.GetServerList(), 0, buffer.data(), &size);
    EXPECT_EQ(100, size);
    OrvexSim_SetServerDown("default", 1);
    size = 100;
    EXPECT_THROW(scanner.ReadData(101, request.GetServerList(), 100, buffer.data(), &size),
                 ServerDownException);
    OrvexSim_SetServerDown("default", 0);
}

TEST_F(ScannerPageDataTest, FtpValidationAndAuthenticationIds) {
    Scanner& scanner = ConnectTo("localhost");
    // Server, port, user, password, directory and the proxy fields reach the library as given.
    EXPECT_EQ(0, scanner.ValidateFtpDestination("ftp.example.com", "21", "u", "p", "/in", "", "",
                                                "", ""));
    const std::string validated = LogLinesOf("SFTP_Validate").at(0);
    EXPECT_EQ("\"u\"", LogValue(validated, "user")) << validated;
    EXPECT_EQ("\"p\"", LogValue(validated, "password")) << validated;
    EXPECT_EQ("\"/in\"", LogValue(validated, "directory")) << validated;
    EXPECT_EQ(QUORVEL_ACCESS_DENIED,
              scanner.ValidateFtpDestination("ftp.denied.example.com", "21", "u", "p", "/in", "",
                                             "", "", ""));
    std::string id;
    EXPECT_TRUE(scanner.GetAuthID("alice", id));
    EXPECT_EQ("alice", id);

    m_ui.logins.push_back({1, "alice", "wonder"});
    Scanner& login = ConnectTo("login");
    EXPECT_TRUE(login.GetAuthID("CORP\\alice", id));
    EXPECT_EQ("S-1-5-21-7-1001", id);
    EXPECT_TRUE(login.GetAuthID("CORP\\nobody", id));
    EXPECT_EQ("CORP\\nobody", id) << "an unknown user keeps the name given";
}

} // namespace
