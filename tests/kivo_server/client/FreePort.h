#pragma once
// A TCP port that nothing listens on now: bound as port 0, asked for, and let go, so that
// test servers started at the same time on one machine never share a port.
namespace kivotest {

// 0 when the system gave none.
int freeTcpPort();

} // namespace kivotest
