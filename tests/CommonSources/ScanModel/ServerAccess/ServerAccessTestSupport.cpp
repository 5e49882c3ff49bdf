#include "ServerAccessTestSupport.h"

void ServerAccessTest::SetUp() {
    OrvexSim_Reset();
}

void ServerAccessTest::TearDown() {
    m_wrappers.clear();
    EXPECT_EQ(0, OrvexSim_HeapBlocks()) << "blocks left on the library heap";
    EXPECT_EQ(0, OrvexSim_BadFrees());
    OrvexSim_Reset();
}

QuorvelWrapperIntf& ServerAccessTest::Fresh() {
    m_wrappers.emplace_back(QuorvelWrapper::Create());
    return *m_wrappers.back();
}

QuorvelWrapperIntf& ServerAccessTest::Connected() {
    QuorvelWrapperIntf& wrapper = Fresh();
    EXPECT_EQ(QUORVEL_OK, wrapper.InitConnectToNonStandardServer("localhost", "guest", ""));
    EXPECT_EQ(QUORVEL_OK, wrapper.ScanOpenSession());
    return wrapper;
}

std::vector<std::string> LogLinesOf(const std::string& function) {
    std::vector<std::string> lines;
    for (const std::string& line : OrvexSimLog()) {
        if (line.compare(0, function.size() + 1, function + " ") == 0 || line == function) {
            lines.push_back(line);
        }
    }
    return lines;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string LogValue(const std::string& line, const std::string& name) {
    const size_t start = line.find(" " + name + "=");
    if (start == std::string::npos) {
        return std::string();
    }
    const size_t value = start + name.size() + 2;
    return line.substr(value, line.find(' ', value) - value);
}
