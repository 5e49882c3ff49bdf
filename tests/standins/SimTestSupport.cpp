#include "SimTestSupport.h"

#include <fstream>

namespace {

void DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(child);
            } else {
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

} // namespace

TempFixtureRoot::TempFixtureRoot() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    m_path = std::string(temp) + "orvexsim_" + std::to_string(GetCurrentProcessId()) + "_" +
             std::to_string(++counter);
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFixtureRoot::~TempFixtureRoot() {
    DeleteTree(m_path);
}

void TempFixtureRoot::Write(const std::string& server, const std::string& relative,
                            const std::string& content) const {
    std::string folder = m_path + "\\" + server;
    CreateDirectoryA(folder.c_str(), nullptr);
    size_t start = 0;
    for (size_t slash = relative.find('\\'); slash != std::string::npos;
         slash = relative.find('\\', start)) {
        CreateDirectoryA((folder + "\\" + relative.substr(0, slash)).c_str(), nullptr);
        start = slash + 1;
    }
    std::ofstream file(folder + "\\" + relative, std::ios::binary);
    file << content;
}

void TempFixtureRoot::SetWriteTime(const std::string& server, const std::string& relative,
                                   const FILETIME& time) const {
    const std::string path = m_path + "\\" + server + (relative.empty() ? "" : "\\" + relative);
    const HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time)) << path;
    CloseHandle(file);
}

FILETIME MinutesAgo(int minutes) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER time;
    time.LowPart = now.dwLowDateTime;
    time.HighPart = now.dwHighDateTime;
    time.QuadPart -= static_cast<ULONGLONG>(minutes) * 60 * 10000000;
    FILETIME result;
    result.dwLowDateTime = time.LowPart;
    result.dwHighDateTime = time.HighPart;
    return result;
}

void SimTest::SetUp() {
    OrvexSim_Reset();
}

void SimTest::TearDown() {
    quorvel_unload();
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "blocks left on the library heap";
    EXPECT_EQ(0, OrvexSim_BadFrees());
    OrvexSim_Reset();
}

QuorvelServerHandle SimTest::Connect(const char* address) {
    QuorvelServerHandle server = {};
    EXPECT_EQ(QUORVEL_OK, INIT_connectToNonStandardServer(address, "guest", "", "kivo", -1, -1, -1,
                                                          &server, 0));
    return server;
}

QuorvelSessionHandle SimTest::OpenScanSession(QuorvelServerHandle& server) {
    QuorvelSessionHandle session = {};
    EXPECT_EQ(QUORVEL_OK, SCAN_openSession(&server, &session, 0));
    return session;
}

QuorvelSessionHandle SimTest::OpenLocalisation(QuorvelServerHandle& server, const char* language,
                                               const char* encoding) {
    QuorvelSessionHandle session = {};
    EXPECT_EQ(QUORVEL_OK, LOCL_openSession(&server, 0, language, encoding, &session, 0));
    return session;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
