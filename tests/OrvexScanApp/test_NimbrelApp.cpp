// NimbrelApp against the recording source manager's own simulated source: the triplets of a
// session, how it ends, and what the user is told when it cannot start. Each case starts the
// program beside this one with the simulation's settings in its environment.

#include "AppProcess.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const NoSourceText = "The \"Nimbrel 5\" TWAIN plug-in could not be opened. Please "
                                 "make sure that the product is installed correctly.";
const char* const NoManagerText = "The TWAIN source manager could not be loaded.";

class NimbrelAppTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[MAX_PATH] = {};
        GetTempPathA(sizeof dir, dir);
        m_log = std::string(dir) + "nimbrelapp-recdsm.log";
        DeleteFileA(m_log.c_str());
    }
    void TearDown() override { DeleteFileA(m_log.c_str()); }

    std::map<std::string, std::string> Env(std::map<std::string, std::string> more = {}) const {
        more["RECDSM_LOG"] = m_log;
        return more;
    }
    std::vector<std::string> Log() const {
        std::vector<std::string> lines;
        std::ifstream in(m_log);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    std::string m_log;
};

} // namespace

TEST_F(NimbrelAppTest, ASessionEndsOnTheSourcesFirstEvent) {
    // Transfer ready, close request and close done all end the session the same way.
    for (const char* event : {"0x101", "0x102", "0x103"}) {
        DeleteFileA(m_log.c_str());
        AppProcess app(Env({{"RECDSM_EVENT", event}}));
        ASSERT_TRUE(app.Started());
        EXPECT_EQ(0u, app.WaitForExit(20000)) << event;
        const std::vector<std::string> expected = {
            "1 4 301 app=ScanApp", // the wrapper's own identity opens the manager
            "1 3 4",
            "1 3 5", // counting the sources
            "1 3 4", // looking for "Nimbrel 5"
            "1 3 401 app=NimbrelApp id=1 source=Nimbrel 5",
            "1 1 6 cap=8002 con=5 type=6 item=0", // custom capability cleared
            "1 9 502 show=1 modal=65535",         // enabled with its user interface
            "1 2 601 notice",                     // the event, through MSG_PROCESSEVENT
            "1 9 501 show=255 modal=0",
            "1 3 402",
            "1 4 302",
        };
        EXPECT_EQ(expected, Log()) << event;
    }
}

TEST_F(NimbrelAppTest, TellsTheUserWhenTheSourceCannotBeOpened) {
    const struct {
        const char* name;
        std::map<std::string, std::string> env;
    } cases[] = {
        {"no source at all", {{"RECDSM_SOURCES", ""}}},
        {"only another source", {{"RECDSM_SOURCES", "Nimbrel 4|Other"}}},
        {"opening refused", {{"RECDSM_FAIL", "401:1"}}},
        {"enabling refused", {{"RECDSM_FAIL", "502:4"}}},
    };
    for (const auto& c : cases) {
        DeleteFileA(m_log.c_str());
        AppProcess app(Env(c.env));
        ASSERT_TRUE(app.Started());
        EXPECT_EQ(NoSourceText, app.AnswerMessageBox(20000)) << c.name;
        EXPECT_EQ(1u, app.WaitForExit(20000)) << c.name;
        // Whatever was opened is closed again, the manager last.
        const auto log = Log();
        ASSERT_FALSE(log.empty()) << c.name;
        EXPECT_EQ("1 4 302", log.back()) << c.name;
    }
}

TEST_F(NimbrelAppTest, ASourceThatToldTheUserItselfIsNotReportedAgain) {
    for (const char* fail : {"401:5", "502:5"}) {
        AppProcess app(Env({{"RECDSM_FAIL", fail}}));
        ASSERT_TRUE(app.Started());
        EXPECT_EQ("", app.AnswerMessageBox(3000)) << fail;
        EXPECT_EQ(1u, app.WaitForExit(20000)) << fail;
    }
}

// Run with the source manager turned off (test_nimbrel_app_no_manager); skipped where one loads.
using NoManagerAppTest = NimbrelAppTest;

TEST_F(NoManagerAppTest, BothFailuresAreShown) {
    if (HMODULE present = LoadLibraryA("TWAIN_32.DLL")) {
        FreeLibrary(present);
        GTEST_SKIP() << "a source manager is installed";
    }
    AppProcess app(Env());
    ASSERT_TRUE(app.Started());
    EXPECT_EQ(NoManagerText, app.AnswerMessageBox(20000));
    EXPECT_EQ(NoSourceText, app.AnswerMessageBox(20000));
    EXPECT_EQ(1u, app.WaitForExit(20000));
}

TEST(NimbrelAppResources, EveryLanguageHasItsOwnTexts) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string program(path);
    program.replace(program.find_last_of('\\') + 1, std::string::npos, "NimbrelApp.exe");
    const HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    // The block of ids 2000-2015, read entry by entry in one language.
    const auto text = [&](LANGID lang, unsigned id) {
        const HRSRC found =
            FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(id / 16 + 1), lang);
        if (found == nullptr) {
            return std::wstring(L"<missing>");
        }
        auto* entry = static_cast<const WCHAR*>(LockResource(LoadResource(module, found)));
        for (unsigned i = 0; i < id % 16; ++i) {
            entry += 1 + *entry;
        }
        return std::wstring(entry + 1, *entry);
    };
    EXPECT_EQ(L"The TWAIN source manager could not be loaded.", text(1033, 2002));
    EXPECT_EQ(L"The TWAIN source manager could not be opened.", text(1033, 2004));
    EXPECT_EQ(0u, text(2052, 2003).find(L"\x65e0\x6cd5")) << "Simplified Chinese under 2052";
    for (const LANGID lang : {1031, 1033, 1034, 1036, 1040, 1041, 1043, 1046, 2052}) {
        for (unsigned id = 2002; id <= 2004; ++id) {
            const std::wstring t = text(lang, id);
            EXPECT_FALSE(t.empty() || t == L"<missing>") << lang << " " << id;
            if (lang != 1033) {
                EXPECT_NE(text(1033, id), t) << lang << " " << id << " is translated";
            }
        }
    }
    FreeLibrary(module);
}
