#pragma once
// Keeps the program to one running copy per session: the first copy publishes its main window
// in a small named mapping, a later copy finds it there and brings that copy to the front.

#include <windows.h>

#include <string>

class CInstanceChecker {
public:
    // instanceMutexName orders copies that start at the same moment.
    explicit CInstanceChecker(const std::string& instanceMutexName);
    CInstanceChecker(const CInstanceChecker&) = delete;
    CInstanceChecker& operator=(const CInstanceChecker&) = delete;
    virtual ~CInstanceChecker();

    // Waits until no other starting copy holds the instance mutex.
    void AcquireInstanceLock();
    void ReleaseInstanceLock();
    bool IsAnotherInstanceRunning() const;
    // Publishes WindowToTrack and releases the instance lock; false when another copy runs or
    // the mapping cannot be made.
    bool RecordRunningInstance();
    // The running copy's main window, or null when none is published.
    HWND BringPreviousInstanceToFront();

    virtual std::string MappingName() const;
    virtual HWND WindowToTrack() const;

private:
    HANDLE m_viewMutex;
    HANDLE m_instanceMutex;
    bool m_locked = false;
};
