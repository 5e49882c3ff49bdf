#pragma once
// A real Scanner connected through a real QuorvelWrapper to one simulated Orvex server (a
// fixture folder of the stand-ins), as the data source holds them while a window is open.
// One at a time: a wrapper that goes unloads the library and with it every other session.

#include <functional>
#include <memory>
#include <string>
#include <utility>

class QuorvelWrapperIntf;
class Scanner;
class ScannerUiIntf;

class SimulatedServerSession {
public:
    // A server that asks for a log-in gets user and password once. Throws as the Scanner does
    // when the server cannot be reached.
    explicit SimulatedServerSession(const std::string& server, const std::string& user = "",
                                    const std::string& password = "");
    SimulatedServerSession(const SimulatedServerSession&) = delete;
    SimulatedServerSession& operator=(const SimulatedServerSession&) = delete;
    // The scanner goes first: it closes its session through the wrapper.
    ~SimulatedServerSession();

    QuorvelWrapperIntf* Wrapper() const { return m_wrapper.get(); }
    Scanner* GetScanner() const { return m_scanner.get(); }
    // Runs where the scanner would show its wait window, as that window's start runs a loop.
    void SetWaitAction(std::function<void()> action) { m_waitAction = std::move(action); }

private:
    std::function<void()> m_waitAction;
    std::unique_ptr<ScannerUiIntf> m_ui;
    std::unique_ptr<QuorvelWrapperIntf> m_wrapper;
    std::unique_ptr<Scanner> m_scanner;
};
