#include "GuilessAcquireJobManager.h"

#include "AbstractSource.h"
#include "DataArg_Resolution.h"
#include "DataArg_UserInterface.h"
#include "Exception.h"
#include "GuilessAcquireJobManager_rc.h"
#include "QuorvelWrapperException.h"
#include "QuorvelWrapperIntf.h"
#include "ScanCommandIntf.h"
#include "ScanServerCapabilities.h"
#include "ScanStrings.h"
#include "Scanner.h"
#include "StringTable_rc.h"
#include "UiMessages.h"
#include "zylImageFile.h"

#include <cstdlib>
#include <memory>

namespace {

constexpr int32_t kEventJobEnded = 0;
constexpr int32_t kEventScanCanceled = 2;
constexpr int32_t kEventScanFailed = 3;
constexpr int32_t kEventServerDown = -8;

int ToInt(const std::string& text) {
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 10));
}

bool ListsPageSize(const ScanServerCapabilities& caps, const std::string& name) {
    for (int32_t i = 0; i < caps.GetPageSizeCount(); ++i) {
        if (caps.GetPageSizeValueAt(i) == name) {
            return true;
        }
    }
    return false;
}

} // namespace

GuilessAcquireJobManager::GuilessAcquireJobManager(GuiWindowsDialog* owner,
                                                   QuorvelWrapperIntf* wrapper,
                                                   ScanPreferences& preferences, Scanner* scanner)
    : GuiWindowsDialog(IDD_GUILESS_ACQUIRE, owner, nullptr), m_attributes(wrapper, nullptr),
      m_wrapper(wrapper), m_preferences(preferences), m_scanner(scanner) {
    // Never shown, and no owner is disabled for it.
    SetTopLevel(false);
}

GuilessAcquireJobManager::~GuilessAcquireJobManager() = default;

INT_PTR GuilessAcquireJobManager::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NIMBREL_OPERATION_ENDED:
    case WM_NIMBREL_ALERT_EVENT:
        return 0;
    case WM_NIMBREL_SCAN_EVENT:
        return HandleScanEvent(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
    default:
        return GuiWindowsDialog::WindowProc(message, wParam, lParam);
    }
}

void GuilessAcquireJobManager::Activate() {}

void GuilessAcquireJobManager::CenterWindow(HWND) {}

void GuilessAcquireJobManager::PostEvent(int32_t type, int32_t jobId) {
    if (const HWND window = GetHwnd()) {
        PostMessageA(window, WM_NIMBREL_SCAN_EVENT, static_cast<WPARAM>(type),
                     static_cast<LPARAM>(jobId));
    }
}

void GuilessAcquireJobManager::CancelScan() {
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->RequestClose();
    }
    if (m_scanPending) {
        m_scanPending = false;
        if (m_followedJobId != 0) {
            m_wrapper->ScanCancelScan(m_followedJobId);
        }
    }
}

void GuilessAcquireJobManager::EndWithCloseRequest() {
    CancelScan();
    if (DataArg_UserInterface* const ui = GetUserInterface()) {
        ui->NotifyCloseRequest();
    }
}

bool GuilessAcquireJobManager::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    SetWindowPos(GetHwnd(), nullptr, 0, 0, 0, 0, SWP_NOZORDER);
    try {
        AbstractSource* const source = AbstractSource::Instance();
        const ScanServerCapabilities& caps = *m_scanner->GetServerCapabilities();
        if (caps.SupportsAdf() && caps.HasSelectableScanSource()) {
            m_attributes.SetScanSource(source->GetFeederEnabled() == 0);
        }
        m_attributes.SetDoubleSided(caps.SupportsAdf() && source->GetDuplexEnabled() != 0);
        ApplyResolution();
        ApplyPageSize();
        ApplyColorMode();
        ApplyOrientation();
        ApplyCompression();
        if (caps.IsBackgroundRemoveEnabled()) {
            m_attributes.SetBRemove("OFF");
        }
        if (caps.IsBrightLevelEnabled()) {
            m_attributes.SetBrightness("0");
        }
        if (caps.IsBindDirectionEnabled()) {
            m_attributes.SetBindDirection("LEFT_SIDE");
        }
        if (caps.IsImageModeEnabled()) {
            m_attributes.SetImageMode("FS_TEXT_IMAGE");
        }
        if (caps.HasMkEmFaxable()) {
            m_attributes.SetMakeEmFaxable(false);
        }
        m_attributes.SetUserName();

        const int rc = m_wrapper->ScanInitiateScan(m_attributes.GetServerList(), &m_followedJobId);
        m_scanPending = rc == 0;
        if (rc == 0) {
            m_followAnyJob = m_followedJobId == 0;
        } else {
            m_followedJobId = 0;
            EndWithCloseRequest();
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        EndWithCloseRequest();
    }
    return true;
}

void GuilessAcquireJobManager::ApplyResolution() {
    AbstractSource* const source = AbstractSource::Instance();
    const ScanServerCapabilities& caps = *m_scanner->GetServerCapabilities();
    int x = static_cast<int>(source->GetResolutionDpi(DataArg_Resolution::kAxisX));
    int y = static_cast<int>(source->GetResolutionDpi(DataArg_Resolution::kAxisY));
    const int minimum = caps.GetMinResolution();
    const int maximum = caps.GetMaxResolution();
    // A bound the server does not give (0) clamps nothing.
    if (minimum > 0 && x < minimum) {
        x = y = minimum;
    } else if (maximum > 0 && x > maximum) {
        x = y = maximum;
    }
    const int32_t count = caps.GetResolutionCount();
    if (!caps.IsResAllowAny() && count > 0) {
        bool listed = false;
        for (int32_t i = 0; i < count && !listed; ++i) {
            listed = ToInt(caps.GetResolutionValueAt(i)) == x;
        }
        if (!listed) {
            int32_t index = caps.GetResolutionCurrentIndex();
            if (index < 0 || index >= count) {
                index = 0;
            }
            x = y = ToInt(caps.GetResolutionValueAt(index));
        }
    }
    m_attributes.SetRawXResInt(x);
    m_attributes.SetRawYResInt(y);
}

void GuilessAcquireJobManager::ApplyPageSize() {
    AbstractSource* const source = AbstractSource::Instance();
    const ScanServerCapabilities& caps = *m_scanner->GetServerCapabilities();
    const bool mixed = caps.IsMixedPageSizeEnabled();
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    if (source->GetAutomaticBorderDetection() != 0) {
        m_attributes.SetPageSize(ScanConstStrings::PageSizeAuto);
        if (mixed) {
            m_attributes.SetMixedPageSize(true);
        }
    } else if (source->GetImageLayout(left, top, right, bottom)) {
        if (mixed) {
            m_attributes.SetMixedPageSize(false);
        }
        const double width = right - left;
        const double height = bottom - top;
        const std::string name = MapPageSize(width, height);
        if (!name.empty()) {
            m_attributes.SetPageSize(name);
        } else if (caps.SupportsCustomPageSize()) {
            m_attributes.SetPageSizeDimensions(static_cast<int>(width), static_cast<int>(height));
        }
    } else if (caps.SupportsAutoPageSize()) {
        m_attributes.SetPageSize(ScanConstStrings::PageSizeAuto);
        if (mixed) {
            m_attributes.SetMixedPageSize(true);
        }
    } else {
        m_attributes.SetPageSize(ScanConstStrings::PaperTabloid);
        if (mixed) {
            m_attributes.SetMixedPageSize(false);
        }
    }
}

std::string GuilessAcquireJobManager::MapPageSize(double width, double height) {
    const ScanServerCapabilities& caps = *m_scanner->GetServerCapabilities();
    const double tenthsWide = static_cast<double>(static_cast<int>(width * 10.0));
    const double tenthsHigh = static_cast<double>(static_cast<int>(height * 10.0));
    std::string name;
    if (const PageSizeEntry* const row = FindPageSizeExact(tenthsWide, tenthsHigh)) {
        if (ListsPageSize(caps, row->name)) {
            name = row->name;
        } else if (ListsPageSize(caps, row->alternateName)) {
            name = row->alternateName;
        }
    } else if (caps.SupportsAutoPageSize()) {
        name = ScanConstStrings::PageSizeAuto;
    }
    if (name.empty() && !caps.SupportsCustomPageSize()) {
        const PageSizeEntry* const holding = FindPageSizeHolding(tenthsWide, tenthsHigh);
        name = holding != nullptr ? holding->name : ScanConstStrings::PaperTabloid;
    }
    return name;
}

void GuilessAcquireJobManager::ApplyColorMode() {
    const TW_UINT16 pixelType = AbstractSource::Instance()->GetPixelTypeCurrent();
    m_attributes.SetColorMode(pixelType == TWPT_RGB    ? "COLOR"
                              : pixelType == TWPT_GRAY ? "GRAYSCALE"
                                                       : "BLACK_WHITE");
}

void GuilessAcquireJobManager::ApplyOrientation() {
    if (m_scanner->GetServerCapabilities()->IsOrientationEnabled()) {
        const TW_UINT16 orientation = AbstractSource::Instance()->GetOrientationCurrent();
        m_attributes.SetOrientation(orientation == TWOR_LANDSCAPE ? "LANDSCAPE" : "PORTRAIT");
    }
}

void GuilessAcquireJobManager::ApplyCompression() {
    if (!m_scanner->GetServerCapabilities()->IsCompressLevelEnabled()) {
        return;
    }
    m_attributes.SetCompressLevel("STANDARD");
    const TW_UINT16 pixelType = AbstractSource::Instance()->GetPixelTypeCurrent();
    const bool tone = pixelType == TWPT_RGB || pixelType == TWPT_GRAY;
    m_attributes.InsertAttribute("COMPRESSION", tone ? "JPEG" : "GROUP4");
}

int GuilessAcquireJobManager::HandleScanEvent(int32_t type, int32_t jobId) {
    if (m_events.IsBusy()) {
        const ScanEventRecord record = {type, jobId, 0};
        m_events.PushEvent(&record);
        return 0;
    }
    // An event's handling may run a loop (the job list's reload, an error box) in which the
    // application disables the source: the manager is then deleted, and nothing touches it.
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    m_events.SetBusy(true);
    ProcessScanEvent(type, jobId);
    while (*alive) {
        const std::unique_ptr<ScanEventRecord> next = m_events.PopEvent();
        if (!next) {
            m_events.SetBusy(false);
            break;
        }
        ProcessScanEvent(next->type, next->jobId);
    }
    return 0;
}

void GuilessAcquireJobManager::ProcessScanEvent(int32_t type, int32_t jobId) {
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    try {
        if (type == kEventServerDown) {
            // Nothing can come of the scan any more; cancelling it would only fail.
            m_scanPending = false;
            EndWithCloseRequest();
            return;
        }
        if (!m_followAnyJob && jobId != m_followedJobId) {
            return;
        }
        switch (type) {
        case kEventJobEnded: {
            m_scanPending = false;
            if (m_followedJobId == 0) {
                m_followedJobId = jobId;
            }
            m_scanner->RefreshJobs();
            if (!*alive) {
                return;
            }
            zylImageFile* const job = m_scanner->GetImageFileByJobID(jobId);
            if (job == nullptr) {
                EndWithCloseRequest();
                return;
            }
            job->SetStartPage(-1);
            job->BeginTransfer();
            AcquireJob(job);
            break;
        }
        case kEventScanCanceled:
        case kEventScanFailed:
            m_scanPending = false;
            EndWithCloseRequest();
            break;
        default:
            break;
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        m_scanPending = false;
        EndWithCloseRequest();
    }
}

void GuilessAcquireJobManager::AcquireJob(zylImageFile* job) {
    DataArg_UserInterface* const ui = GetUserInterface();
    if (ui == nullptr || job == nullptr) {
        return;
    }
    const std::shared_ptr<const bool> alive = GetAliveFlag();
    try {
        ScanCommandIntf* const command = m_scanner->GetScanCommand();
        const ScanCommandIntf::JobPages pages = command->BeginJob(job);
        ui->SetTotalPageToAcquire(pages.count);
        const int kind = ReadJobFormat(job);
        // Every kind is fetched before it is announced: the application must never be told of
        // a page that is not there.
        command->SetSaveRequest(static_cast<int32_t>(job->GetJobID()));
        if (kind == kKindJpeg) {
            command->SelectJpegConversion();
        } else if (kind == kKindBitonal) {
            command->SelectTiffConversion();
        }
        const bool ready = command->StartPage(pages.first);
        if (ui->IsCloseRequested()) {
            ui->NotifyCloseRequest();
        } else if (ready) {
            ui->NotifyTransferReady();
        } else {
            ui->AbandonAcquire();
            ui->NotifyCloseRequest();
        }
    } catch (QuorvelWrapperException& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        ui->AbandonAcquire();
        ui->ReportServerError(e.GetResultCode());
        if (*alive) {
            ui->NotifyCloseRequest();
        }
    } catch (CommonCpp::Exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        ui->AbandonAcquire();
        ui->ShowErrorMessage(IDS_SCAN_FAILED);
        if (*alive) {
            ui->NotifyCloseRequest();
        }
    }
}

int GuilessAcquireJobManager::ReadJobFormat(zylImageFile* job) {
    if (job == nullptr) {
        return kKindOther;
    }
    const ScanAttributeWrapper attributes(m_wrapper, job->GetJobAttributes());
    const std::string compression = attributes.GetAttribute("COMPRESSION");
    if (attributes.GetAttribute("COLOR_MODE") == "BLACK_WHITE") {
        // The server writes "GROUP4"; "G4" is the short form some jobs carry.
        return compression == "GROUP4" || compression == "G4" ? kKindBitonal : kKindOther;
    }
    return compression == "JPEG" ? kKindJpeg : kKindOther;
}
