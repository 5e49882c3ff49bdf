#pragma once
// Tests of the server-access classes run against the simulated server of the stand-ins.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "OrvexSimControl.h"
#include "QuorvelWrapper.h"

class ServerAccessTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Wrappers a test leaves are destroyed first; then nothing may remain on the library heap.
    void TearDown() override;

    // A wrapper connected to the default server with its scan session open.
    QuorvelWrapperIntf& Connected();
    // A new wrapper, not connected; owned by the test.
    QuorvelWrapperIntf& Fresh();

    std::vector<std::unique_ptr<QuorvelWrapperIntf>> m_wrappers;
};

bool Contains(const std::string& text, const std::string& part);
