#pragma once
// The window-less acquisition (dialog 209, never shown): when the application enables the
// source without its user interface, the window's creation turns the application's TWAIN
// settings into the attributes of a new scan and starts it at the copier. The window then only
// takes the scan's events (message 1138, one at a time) and, when the job has ended, fetches its
// first page and announces it (MSG_XFERREADY). Whatever ends the acquisition without a page (a
// refused scan, a cancelled or failed one, the server going down, a job that cannot be found)
// asks the application to close the source (MSG_CLOSEDSREQ), which would otherwise wait for
// ever.

#include "GuiWindowsDialog.h"
#include "GuilessAcquireIntf.h"
#include "ScanAttributeWrapper.h"
#include "ScanEventQueueManager.h"

#include <cstdint>
#include <string>

class QuorvelWrapperIntf;
class ScanPreferences;
class Scanner;
class zylImageFile;

class GuilessAcquireJobManager : public GuiWindowsDialog, public GuilessAcquireIntf {
public:
    // Job kinds of ReadJobFormat.
    static constexpr int kKindOther = 0;
    static constexpr int kKindBitonal = 1;
    static constexpr int kKindJpeg = 2;

    // The wrapper, preferences and scanner are the source's; the manager only borrows them.
    GuilessAcquireJobManager(GuiWindowsDialog* owner, QuorvelWrapperIntf* wrapper,
                             ScanPreferences& preferences, Scanner* scanner);
    ~GuilessAcquireJobManager() override;

    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Builds the job attributes and starts the scan.
    bool OnInitDialog() override;
    // The window is never shown: it never comes to the front and is never centred (which
    // would show it).
    void Activate() override;
    void CenterWindow(HWND over) override;

    void PostEvent(int32_t type, int32_t jobId) override;
    void CancelScan() override;

    // The attribute groups taken from the application's settings.
    virtual void ApplyResolution();
    virtual void ApplyPageSize();
    virtual void ApplyColorMode();
    virtual void ApplyOrientation();
    virtual void ApplyCompression();
    // The server's paper keyword for a frame in inches; empty when there is none.
    virtual std::string MapPageSize(double width, double height);
    // Queues the event while another is being handled; always 0.
    virtual int HandleScanEvent(int32_t type, int32_t jobId);
    // Fetches the job's first page and announces it.
    virtual void AcquireJob(zylImageFile* job);
    // kKindJpeg for a colour or grey JPEG job, kKindBitonal for a black-and-white Group 4
    // job, else kKindOther (no job included).
    virtual int ReadJobFormat(zylImageFile* job);

    const ScanAttributeWrapper& GetJobAttributes() const { return m_attributes; }
    bool IsScanPending() const { return m_scanPending; }
    int32_t GetFollowedJobId() const { return m_followedJobId; }
    bool IsFollowingAnyJob() const { return m_followAnyJob; }

private:
    void ProcessScanEvent(int32_t type, int32_t jobId);
    // Ends the acquisition without a page: close request marked, scan cancelled, and the
    // application asked to close the source.
    void EndWithCloseRequest();

    ScanAttributeWrapper m_attributes;
    QuorvelWrapperIntf* m_wrapper;
    ScanPreferences& m_preferences;
    Scanner* m_scanner;
    bool m_scanPending = false;
    int32_t m_followedJobId = 0;
    bool m_followAnyJob = false;
    ScanEventQueueManager m_events;
};
