#pragma once
// Helpers for tests of the simulated server: a clean simulator per test, connections to the
// committed servers, and throw-away fixture roots for servers a test writes itself.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <windows.h>

#include "OrvexSimControl.h"
#include "quorvel_api.h"

// A fixture root under the temporary folder, deleted with its contents at the end.
class TempFixtureRoot {
public:
    TempFixtureRoot();
    ~TempFixtureRoot();
    TempFixtureRoot(const TempFixtureRoot&) = delete;
    TempFixtureRoot& operator=(const TempFixtureRoot&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes a file of a server's folder (folders made as needed); relative uses "\".
    void Write(const std::string& server, const std::string& relative,
               const std::string& content) const;
    // Sets the last-write time of a file or folder of a server (empty relative: the server's
    // folder); the simulator keeps what it read between calls only of files some seconds old.
    void SetWriteTime(const std::string& server, const std::string& relative,
                      const FILETIME& time) const;

private:
    std::string m_path;
};

// The system time that many minutes ago.
FILETIME MinutesAgo(int minutes);

// Every test starts with a clean simulator and ends with nothing left on the library heap.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Connects to address as guest; fails the test unless the connect answers 0.
    QuorvelServerHandle Connect(const char* address = "localhost");
    QuorvelSessionHandle OpenScanSession(QuorvelServerHandle& server);
    QuorvelSessionHandle OpenLocalisation(QuorvelServerHandle& server, const char* language,
                                          const char* encoding);
};

bool Contains(const std::string& text, const std::string& part);
