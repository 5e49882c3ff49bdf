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

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}
