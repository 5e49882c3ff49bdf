// Fixture text of the simulated servers: the dump format's accepted forms, malformed input in
// every fixture file, the fixture root, and FTP validation requests.

#include "SimTestSupport.h"

namespace {

class SimFixtureTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        OrvexSim_SetFixtureRoot(m_root.Path().c_str());
    }

    // Connects to the server "lab" of the temporary root.
    QuorvelServerHandle ConnectLab() { return Connect("lab"); }

    // The attribute list of "lab" as key=value texts, or the failure code as text.
    std::vector<std::string> LabAttributes() {
        QuorvelServerHandle server = ConnectLab();
        QuorvelSessionHandle scan = OpenScanSession(server);
        ServerAttributeList* list = nullptr;
        const int result = SCAN_serverAttributes(&scan, &list, 0);
        std::vector<std::string> pairs;
        if (result != QUORVEL_OK) {
            pairs.push_back("code " + std::to_string(result));
            return pairs;
        }
        for (int i = 0; i < list->count; ++i) {
            pairs.push_back(std::string(list->keys[i]) + "=" + list->values[i]);
            quorvel_free(list->keys[i]);
            quorvel_free(list->values[i]);
        }
        quorvel_free(list->keys);
        quorvel_free(list->values);
        quorvel_free(list);
        return pairs;
    }

    TempFixtureRoot m_root;
};

TEST_F(SimFixtureTest, DumpFormatForms) {
    m_root.Write("lab", "attributes.txt",
                 "\xEF\xBB\xBF# comment\r\nA = 1\r\n\r\n   \nB = x = y\nEMPTY = \nTRIMMED =\n"
                 "A = 2\nSPACES =   padded  \nLAST = no line end");
    const std::vector<std::string> expected = {
        "A=1", "B=x = y", "EMPTY=", "TRIMMED=", "A=2", "SPACES=  padded  ", "LAST=no line end"};
    EXPECT_EQ(expected, LabAttributes());
}

TEST_F(SimFixtureTest, ServerWithoutAttributesSendsAnEmptyList) {
    m_root.Write("lab", "server.txt", "DEVICES = 3\n");
    QuorvelServerHandle server = ConnectLab();
    QuorvelSessionHandle scan = OpenScanSession(server);
    ServerAttributeList* list = nullptr;
    ASSERT_EQ(QUORVEL_OK, SCAN_serverAttributes(&scan, &list, 0));
    EXPECT_EQ(0, list->count);
    EXPECT_EQ(nullptr, list->keys);
    EXPECT_EQ(nullptr, list->values);
    quorvel_free(list);
    int32_t devices = 0;
    EXPECT_EQ(QUORVEL_OK, DEV_getNumDevices(&server, &devices, 0));
    EXPECT_EQ(3, devices);
}

// Fixtures read once are kept between calls: a file rewritten in place with the same size,
// removed or added must still be seen, whatever its last-write time says.
TEST_F(SimFixtureTest, FixturesChangedBetweenCallsAreSeen) {
    m_root.Write("lab", "server.txt", "DEVICES = 2\n");
    m_root.SetWriteTime("lab", "server.txt", MinutesAgo(60));
    m_root.SetWriteTime("lab", "", MinutesAgo(60));
    QuorvelServerHandle server = ConnectLab();
    auto devices = [&] {
        int32_t count = -1;
        const int result = DEV_getNumDevices(&server, &count, 0);
        return result == QUORVEL_OK ? count : result;
    };
    EXPECT_EQ(2, devices());
    EXPECT_EQ(2, devices());
    m_root.Write("lab", "server.txt", "DEVICES = 3\n");
    EXPECT_EQ(3, devices()) << "rewritten just now";
    m_root.SetWriteTime("lab", "server.txt", MinutesAgo(50));
    EXPECT_EQ(3, devices());
    m_root.Write("lab", "server.txt", "DEVICES = 4\n");
    m_root.SetWriteTime("lab", "server.txt", MinutesAgo(40));
    EXPECT_EQ(4, devices()) << "rewritten with an older time than now";
    ASSERT_TRUE(DeleteFileA((m_root.Path() + "\\lab\\server.txt").c_str()));
    EXPECT_EQ(1, devices()) << "removed";
    m_root.SetWriteTime("lab", "", MinutesAgo(30));
    EXPECT_EQ(1, devices());
    m_root.Write("lab", "server.txt", "DEVICES = 5\n");
    m_root.SetWriteTime("lab", "server.txt", MinutesAgo(20));
    m_root.SetWriteTime("lab", "", MinutesAgo(20));
    EXPECT_EQ(5, devices()) << "added again";
    // A file system with coarse times may give a second write the time of the first.
    const FILETIME recent = MinutesAgo(0);
    m_root.Write("lab", "server.txt", "DEVICES = 6\n");
    m_root.SetWriteTime("lab", "server.txt", recent);
    EXPECT_EQ(6, devices());
    m_root.Write("lab", "server.txt", "DEVICES = 7\n");
    m_root.SetWriteTime("lab", "server.txt", recent);
    EXPECT_EQ(7, devices()) << "rewritten with the same time";
}

TEST_F(SimFixtureTest, MalformedAttributeLinesFailTheWholeList) {
    struct Case {
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {"A = 1\nNOSEPARATOR\n", "line 2: no \" = \""},
        {"A=1\n", "line 1: no \" = \""},
        {" = value\n", "line 1: empty key"},
        {"  A = 1\n", "line 1: blank around the key"},
        {"A  = 1\n", "line 1: blank around the key"},
        {"A\tB\n", "line 1: no \" = \""},
        {std::string("A = 1\nB = x\0y\n", 14), "line 2: NUL byte"},
    };
    int index = 0;
    for (const Case& c : cases) {
        const std::string& text = c.text;
        m_root.Write("lab", "attributes.txt", text);
        OrvexSim_ClearLog();
        EXPECT_EQ(std::vector<std::string>{"code -20"}, LabAttributes()) << index;
        const std::vector<std::string> lines = LogLinesOf("SCAN_serverAttributes");
        ASSERT_EQ(1u, lines.size());
        EXPECT_TRUE(Contains(lines[0], c.reason)) << lines[0];
        quorvel_unload();
        ++index;
    }
}

TEST_F(SimFixtureTest, MalformedFilesOfEveryKind) {
    m_root.Write("lab", "locale\\en\\strings.txt", "ADF = Feeder\n");
    QuorvelServerHandle server = ConnectLab();

    m_root.Write("lab", "defaults.txt", "LDAP_capable yes\n");
    QuorvelSessionHandle attr = {};
    ASSERT_EQ(QUORVEL_OK, ATTR_openSession(&server, &attr, 0));
    char* text = nullptr;
    EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES, ATTR_getDefault(&attr, 0, "LDAP_capable", &text, 0));

    QuorvelSessionHandle locl = OpenLocalisation(server, "en", "ISO8859_1");
    m_root.Write("lab", "locale\\en\\strings.txt", "ADF: Feeder\n");
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR, LOCL_getString(&locl, "ADF", &text, 0));
    m_root.Write("lab", "locale\\en\\strings.txt", "ADF = Feed\xC3\n");
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR, LOCL_getString(&locl, "ADF", &text, 0))
        << "texts must be UTF-8";
    m_root.Write("lab", "locale\\en\\contexts\\PageSize.txt", "LetR\n");
    EXPECT_EQ(QUORVEL_LOCL_INTERNAL_ERROR,
              LOCL_getStringWithContext(&locl, "PageSize", "LetR", &text, 0));

    m_root.Write("lab", "server.txt", "DEVICES\n");
    int32_t devices = 0;
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE, DEV_getNumDevices(&server, &devices, 0));
    m_root.Write("lab", "server.txt", "DEVICES = two\n");
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE, DEV_getNumDevices(&server, &devices, 0));

    m_root.Write("lab", "ftp_validate.txt", "ftp.example.com 0\n");
    SftpValidateRequest request = {
        0, "ftp.example.com", "u", "p", "/", "sftp_validate", 1, 0, 0, nullptr};
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE, SFTP_Validate(&server, &request, 0, 0));
    m_root.Write("lab", "ftp_validate.txt", "ftp.example.com = zero\n");
    EXPECT_EQ(QUORVEL_GENERAL_FAILURE, SFTP_Validate(&server, &request, 0, 0));

    m_root.Write("lab", "users.txt", "guest\n");
    QuorvelServerHandle refused = {};
    EXPECT_EQ(QUORVEL_SYSTEM_ERROR,
              INIT_connectToNonStandardServer("lab", "guest", "", "kivo", -1, -1, -1, &refused, 0));
    int noted = 0;
    for (const std::string& line : OrvexSimLog()) {
        for (const char* code : {"-> -3 ", "-> -11 ", "-> -20 ", "-> -36 "}) {
            if (Contains(line, code)) {
                EXPECT_TRUE(Contains(line, " [")) << "the log names the fault: " << line;
                ++noted;
            }
        }
    }
    EXPECT_EQ(9, noted);
}

TEST_F(SimFixtureTest, FixtureRootChoices) {
    char root[MAX_PATH] = {};
    OrvexSim_GetFixtureRoot(root, sizeof(root));
    EXPECT_EQ(m_root.Path(), root);
    OrvexSim_SetFixtureRoot(nullptr);
    const int length = OrvexSim_GetFixtureRoot(root, sizeof(root));
    const std::string folder(root, static_cast<size_t>(length));
    EXPECT_EQ("\\servers", folder.substr(folder.size() - 8)) << folder;
    // Without a default server in the root, this machine is unreachable.
    OrvexSim_SetFixtureRoot(m_root.Path().c_str());
    QuorvelServerHandle server = {};
    EXPECT_EQ(
        QUORVEL_HOST_UNREACHABLE,
        INIT_connectToNonStandardServer("localhost", "guest", "", "kivo", -1, -1, -1, &server, 0));
}

TEST_F(SimFixtureTest, FtpValidationLogsTheWholeRequest) {
    OrvexSim_SetFixtureRoot(nullptr);
    QuorvelServerHandle server = Connect();
    char* keys[] = {const_cast<char*>("ftp_port")};
    char* values[] = {const_cast<char*>("2121")};
    SftpAttributeBlock block = {keys, values, 0, 0, 1};
    SftpValidateRequest request = {
        0, "ftp.example.com", "user", "secret", "/in", "sftp_validate", 1, 0, 0, &block};
    EXPECT_EQ(QUORVEL_OK, SFTP_Validate(&server, &request, 0, 0));
    const std::vector<std::string> lines = LogLinesOf("SFTP_Validate");
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(Contains(lines[0],
                         "w0=0 address=\"ftp.example.com\" user=\"user\" password=\"secret\" "
                         "directory=\"/in\" list=\"sftp_validate\" w6=1 w7=0 w8=0 "
                         "attributes=[count=1 w2=0 w3=0 \"ftp_port\"=\"2121\"] word2=0 word3=0 "
                         "-> 0"))
        << lines[0];

    request.address = "ftp.denied.example.com";
    EXPECT_EQ(QUORVEL_ACCESS_DENIED, SFTP_Validate(&server, &request, 0, 0));
    request.address = "elsewhere.example.com";
    EXPECT_EQ(QUORVEL_HOST_UNREACHABLE, SFTP_Validate(&server, &request, 0, 0));

    request.listName = "validate";
    EXPECT_EQ(QUORVEL_BAD_PARAM, SFTP_Validate(&server, &request, 0, 0));
    request.listName = "sftp_validate";
    request.user = nullptr;
    EXPECT_EQ(QUORVEL_PARAMETER_MAY_NOT_BE_NULL, SFTP_Validate(&server, &request, 0, 0));
    request.user = "user";
    block.values = nullptr;
    EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES, SFTP_Validate(&server, &request, 0, 0));
    block.values = values;
    values[0] = nullptr;
    EXPECT_EQ(QUORVEL_MALFORMED_ATTRIBUTES, SFTP_Validate(&server, &request, 0, 0));
    EXPECT_EQ(QUORVEL_BAD_PARAM, SFTP_Validate(&server, nullptr, 0, 0));
}

} // namespace
