// The conformance tests as a native client, against a server hosted elsewhere (the test host
// under Wine): KIVO_TEST_PORT, KIVO_TEST_KEEPALIVE (the host's keepalive period in seconds)
// and KIVO_TEST_FAKE=1 when the host runs the fake key agreement.
#include "ConformanceTarget.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kivotest::ConformanceTarget& t = kivotest::target();
    if (const char* p = std::getenv("KIVO_TEST_PORT"))
        t.port = std::atoi(p);
    if (const char* k = std::getenv("KIVO_TEST_KEEPALIVE"))
        t.keepaliveSeconds = std::atoi(k);
    if (const char* f = std::getenv("KIVO_TEST_FAKE"))
        t.fake = std::atoi(f) != 0;
    return RUN_ALL_TESTS();
}
