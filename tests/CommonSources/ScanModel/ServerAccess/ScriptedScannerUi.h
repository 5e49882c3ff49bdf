#pragma once
// A user-interface handler for Scanner tests: answers the login prompt from a script, records
// every call in order, and records the events the library's thread hands over.

#include <atomic>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include <windows.h>

#include "ScannerUiIntf.h"

class ScriptedScannerUi : public ScannerUiIntf {
public:
    struct LoginAnswer {
        int choice;
        std::string user;
        std::string password;
    };
    struct Event {
        int type;
        int jobId;
        DWORD thread;
    };

    // Answers in order; with none left the prompt is cancelled.
    std::deque<LoginAnswer> logins;
    // Events and alerts are recorded, then end in an exception on the library's thread.
    std::atomic<bool> throwOnEvents{false};
    // The wait text cannot be shown (its window thread is not made).
    bool failWarnings = false;

    void OnScanEvent(ScanEventRecord* record) override {
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_events.push_back({record->type, record->jobId, GetCurrentThreadId()});
        }
        ThrowIfAsked();
    }
    void OnAlertEvent(ScanAlertEventRecord* record) override {
        {
            const std::lock_guard<std::mutex> hold(m_lock);
            m_alerts.push_back(record->text ? record->text : "(null)");
            m_alertThread = GetCurrentThreadId();
        }
        ThrowIfAsked();
    }
    void ShowWarning(const std::string& text) override {
        Record("ShowWarning " + text);
        if (failWarnings) {
            throw std::runtime_error("no warning window");
        }
    }
    void CloseWarning() override { Record("CloseWarning"); }
    void ShowLoginDialog(std::string& user, std::string& password, int* result) override {
        Record("ShowLoginDialog");
        if (logins.empty()) {
            *result = 2;
            return;
        }
        const LoginAnswer answer = logins.front();
        logins.pop_front();
        *result = answer.choice;
        if (answer.choice == 1) {
            user = answer.user;
            password = answer.password;
        }
    }
    void CloseLoginDialog() override { Record("CloseLoginDialog"); }

    std::vector<std::string> Calls() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_calls;
    }
    int CountOf(const std::string& prefix) const {
        int count = 0;
        for (const std::string& call : Calls()) {
            count += call.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
        }
        return count;
    }
    std::vector<Event> Events() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_events;
    }
    std::vector<std::string> Alerts() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_alerts;
    }
    DWORD AlertThread() const {
        const std::lock_guard<std::mutex> hold(m_lock);
        return m_alertThread;
    }

private:
    void ThrowIfAsked() const {
        if (throwOnEvents) {
            throw std::runtime_error("handler failed");
        }
    }
    void Record(const std::string& call) {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_calls.push_back(call);
    }

    mutable std::mutex m_lock;
    std::vector<std::string> m_calls;
    std::vector<Event> m_events;
    std::vector<std::string> m_alerts;
    DWORD m_alertThread = 0;
};
