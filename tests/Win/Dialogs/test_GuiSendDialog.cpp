// The Send window and its two variants on real windows, over a real Scanner on the simulated
// servers: destinations the server lacks hidden and the window compacted, the Send button's
// rule, summaries, format pickers, the save-file step, restoring a refused scan's entries, the
// mailbox/disk exclusion of a new scan, and what Send and Cancel write.

#include "SendDialogTestSupport.h"
#include "EmailMsg.h"
#include "ExportedAttributes.h"
#include "GuiEmailEditDialog.h"
#include "GuiEmailEditDialog_rc.h"
#include "GuiSendDialogExist.h"
#include "GuiSendDialogInit.h"
#include "GuiSendDialog_rc.h"
#include "DialogTemplateReader.h"
#include "GuiTestSupport.h"
#include "OrvexSimControl.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanPreferences.h"
#include "Scanner.h"
#include "SendMediatorExisting.h"
#include "SendMediatorInitiater.h"
#include "SimulatedServerSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using dialogtest::Choose;
using dialogtest::Click;
using dialogtest::Entries;
using dialogtest::TextOf;
using dialogtest::Type;

namespace {

// A variant whose save-file dialog and message editor the test plays.
template <class Base> class Testable : public Base {
public:
    using Base::Base;

    // Cancels unless set.
    std::function<bool(OPENFILENAMEA&)> saveFile;
    std::vector<int> editorModes;
    // Opens the real message editor instead of noting the mode.
    bool realEditor = false;

    bool RunSaveFileDialog(OPENFILENAMEA& request) override {
        return saveFile ? saveFile(request) : false;
    }
    void EditMessage(const EmailMsg& message, int mode) override {
        if (realEditor) {
            Base::EditMessage(message, mode);
        } else {
            editorModes.push_back(mode);
        }
    }
};
using InitDialog = Testable<GuiSendDialogInit>;
using ExistDialog = Testable<GuiSendDialogExist>;

// A new scan's mediator that notes, as it is deleted, whether a window is still there.
class WatchedMediator : public SendMediatorInitiater {
public:
    using SendMediatorInitiater::SendMediatorInitiater;
    ~WatchedMediator() override {
        if (watchedWindow != nullptr && windowOutlived != nullptr) {
            *windowOutlived = IsWindow(watchedWindow) != FALSE;
        }
    }
    HWND watchedWindow = nullptr;
    bool* windowOutlived = nullptr;
};

EmailMsg To(const std::string& address) {
    EmailMsg message;
    message.AddTo(address);
    return message;
}

// What the owner saw when the window ended.
struct Ending {
    int result = 0;
    std::string target;
    bool saveToDisk = false;
};

const std::vector<int> kAllControls = {IDC_SEND_FILE_NAME,
                                       IDC_SEND_HOLD_QUEUE,
                                       IDC_SEND_MAILBOX_CHECK,
                                       IDC_SEND_MAILBOX_NAME,
                                       IDC_SEND_DISK_GROUP,
                                       IDC_SEND_SAVE_TO_DISK,
                                       IDC_SEND_SAVE_AS,
                                       IDC_SEND_DISK_FORMAT,
                                       IDC_SEND_EMAIL_GROUP,
                                       IDC_SEND_EMAIL_CHECK,
                                       IDC_SEND_EDIT_EMAIL,
                                       IDC_SEND_AS_ATTACHMENT,
                                       IDC_SEND_AS_URL,
                                       IDC_SEND_EMAIL_FORMAT,
                                       IDC_SEND_FTP_GROUP,
                                       IDC_SEND_FTP_CHECK,
                                       IDC_SEND_EDIT_FTP,
                                       IDC_SEND_FTP_FORMAT,
                                       IDC_SEND_FAX_GROUP,
                                       IDC_SEND_FAX_CHECK,
                                       IDC_SEND_EDIT_FAX,
                                       IDOK,
                                       IDCANCEL};

// Tops of every control and the window's height, in pixels.
struct Layout {
    std::map<int, LONG> tops;
    int height = 0;
};

Layout LayoutOf(const GuiWindowsDialog& dialog) {
    Layout layout;
    for (const int id : kAllControls) {
        layout.tops[id] = dialog.GetItemRect(id).top;
    }
    int width = 0;
    dialog.GetSize(&width, &layout.height);
    return layout;
}

} // namespace

class SendDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        preferences.SetStore(&store);
        owner.Create();
        owner.onChildClosed = [this](GuiWindowsDialog* child, int, int result) {
            if (auto* dialog = dynamic_cast<GuiSendDialog*>(child)) {
                ending.result = result;
                ending.target = dialog->GetFileSpec().GetPath();
                ending.saveToDisk = dialog->IsSaveToDiskSelected();
            }
        };
    }
    void TearDown() override {
        CloseDialog();
        job.reset();
        session.reset();
        OrvexSim_Reset();
    }

    Scanner& Connect(const std::string& server) {
        CloseDialog();
        job.reset();
        session.reset();
        session = std::make_unique<SimulatedServerSession>(server);
        EXPECT_TRUE(session->GetScanner()->IsConnected()) << server;
        job = std::make_unique<ScanAttributeWrapper>(session->Wrapper(), nullptr);
        return *session->GetScanner();
    }

    // A new scan's window; the scan's colour mode decides whether JPEG is offered.
    InitDialog& OpenInit(bool internetFax = false, const std::string& colour = "COLOR") {
        CloseDialog();
        job->SetAttribute("COLOR_MODE", colour);
        auto* mediator = new SendMediatorInitiater(job.get(), session->GetScanner(), &preferences);
        auto* dialog = new InitDialog(&owner, job.get(), session->GetScanner(), &preferences,
                                      mediator, internetFax);
        return Show(*dialog, *mediator);
    }

    // A stored job's window, with the job current on the scanner as the retrieve pane has it;
    // jobId 0 opens it without a job.
    ExistDialog& OpenExist(int jobId, int page = 0) {
        CloseDialog();
        Scanner* const scanner = session->GetScanner();
        zylImageFile* image = nullptr;
        if (jobId != 0) {
            EXPECT_TRUE(scanner->RefreshJobs());
            scanner->SetCurrentImageFileFromJobID(jobId);
            image = scanner->GetCurrentImageFile();
            EXPECT_NE(nullptr, image) << jobId;
        }
        auto* mediator = new SendMediatorExisting(job.get(), scanner, &preferences);
        auto* dialog =
            new ExistDialog(&owner, job.get(), scanner, &preferences, page, image, mediator);
        return Show(*dialog, *mediator);
    }

    template <class Dialog> Dialog& Show(Dialog& dialog, SendMediator& mediator) {
        mediator.SetClient(&dialog);
        owner.Adopt(&dialog);
        dialog.Create();
        guitest::PumpPending();
        store.writes.clear();
        return dialog;
    }

    bool IsOpen() const { return owner.GetChildDialog() != nullptr; }
    void CloseDialog() {
        owner.Adopt(nullptr);
        guitest::PumpPending();
    }

    MemoryStore store;
    ScanPreferences preferences;
    TestOwner owner;
    std::unique_ptr<SimulatedServerSession> session;
    std::unique_ptr<ScanAttributeWrapper> job;
    Ending ending;
};

TEST_F(SendDialogTest, DestinationsTheServerLacksAreHiddenAndTheWindowShrinks) {
    Connect("localhost");
    const Layout full = LayoutOf(OpenInit(true));
    for (const int id : kAllControls) {
        EXPECT_TRUE(IsWindowVisible(owner.GetChildDialog()->GetItem(id))) << id;
    }
    dialogtest::Screenshot(*owner.GetChildDialog(), "GuiSendDialog.en");

    const LONG holdQueueGap =
        full.tops.at(IDC_SEND_MAILBOX_CHECK) - full.tops.at(IDC_SEND_HOLD_QUEUE);
    const LONG emailGap = full.tops.at(IDC_SEND_FTP_GROUP) - full.tops.at(IDC_SEND_EMAIL_GROUP);
    const LONG groupsGap = full.tops.at(IDOK) - full.tops.at(IDC_SEND_EMAIL_GROUP);
    ASSERT_GT(holdQueueGap, 0);

    struct Case {
        const char* server;
        // Controls that disappear.
        int firstHidden, lastHidden;
        // How far each control moves up.
        std::function<LONG(int id)> shift;
    };
    const std::vector<Case> cases = {
        {"send-noholdq", IDC_SEND_HOLD_QUEUE, IDC_SEND_HOLD_QUEUE,
         [&](int id) { return id == IDC_SEND_FILE_NAME ? 0 : holdQueueGap; }},
        {"send-diskonly", IDC_SEND_EMAIL_GROUP, IDC_SEND_EDIT_FAX,
         [&](int id) { return id == IDOK || id == IDCANCEL ? groupsGap : 0; }},
        // No hold queue and no e-mail: both gaps add up below them.
        {"mediators", IDC_SEND_EMAIL_GROUP, IDC_SEND_EMAIL_FORMAT,
         [&](int id) {
             if (id < IDC_SEND_MAILBOX_CHECK && id != IDOK && id != IDCANCEL) {
                 return LONG(0);
             }
             return id < IDC_SEND_FTP_GROUP && id != IDOK && id != IDCANCEL
                        ? holdQueueGap
                        : holdQueueGap + emailGap;
         }},
    };
    for (const Case& c : cases) {
        Connect(c.server);
        GuiSendDialog& dialog = OpenInit(true);
        const Layout compact = LayoutOf(dialog);
        for (const int id : kAllControls) {
            const bool hidden = (id >= c.firstHidden && id <= c.lastHidden) ||
                                (std::string(c.server) == "mediators" && id == IDC_SEND_HOLD_QUEUE);
            EXPECT_EQ(!hidden, IsWindowVisible(dialog.GetItem(id)) != FALSE)
                << c.server << " control " << id;
            if (!hidden) {
                EXPECT_EQ(full.tops.at(id) - c.shift(id), compact.tops.at(id))
                    << c.server << " control " << id;
            }
        }
        EXPECT_EQ(full.height - c.shift(IDCANCEL), compact.height) << c.server;
        dialogtest::Screenshot(dialog, std::string("GuiSendDialog.") + c.server + ".en");
    }
}

TEST_F(SendDialogTest, SendIsEnabledExactlyWhenAChosenDestinationIsComplete) {
    Connect("localhost");
    const auto pickFile = [](OPENFILENAMEA& request) {
        lstrcpyA(request.lpstrFile, "C:\\out\\job.pdf");
        request.nFileOffset = 7;
        return true;
    };
    struct Case {
        const char* name;
        std::function<void(InitDialog&)> act;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"nothing chosen", [](InitDialog&) {}, false},
        {"hold queue", [](InitDialog& d) { Click(d, IDC_SEND_HOLD_QUEUE); }, true},
        {"e-mail without a recipient spoils the hold queue",
         [](InitDialog& d) {
             Click(d, IDC_SEND_HOLD_QUEUE);
             Click(d, IDC_SEND_EMAIL_CHECK);
         },
         false},
        {"e-mail once the editor gave a recipient",
         [](InitDialog& d) {
             Click(d, IDC_SEND_HOLD_QUEUE);
             Click(d, IDC_SEND_EMAIL_CHECK);
             d.ApplyEditedMessage(GuiSendDialog::kEmailMode, To("ann@example.com"));
             d.UpdateSendButton();
         },
         true},
        {"mailbox without a name", [](InitDialog& d) { Click(d, IDC_SEND_MAILBOX_CHECK); }, false},
        {"mailbox with a name",
         [](InitDialog& d) {
             Click(d, IDC_SEND_MAILBOX_CHECK);
             Type(d, IDC_SEND_MAILBOX_NAME, "Sales");
         },
         true},
        {"save to disk without a file", [](InitDialog& d) { Click(d, IDC_SEND_SAVE_TO_DISK); },
         false},
        {"save to disk with a file",
         [&](InitDialog& d) {
             Click(d, IDC_SEND_SAVE_TO_DISK);
             d.saveFile = pickFile;
             Click(d, IDC_SEND_SAVE_AS);
         },
         true},
        {"a file picked but the box unchecked",
         [&](InitDialog& d) {
             Click(d, IDC_SEND_SAVE_TO_DISK);
             d.saveFile = pickFile;
             Click(d, IDC_SEND_SAVE_AS);
             Click(d, IDC_SEND_SAVE_TO_DISK);
         },
         false},
        {"FTP without a server", [](InitDialog& d) { Click(d, IDC_SEND_FTP_CHECK); }, false},
        {"Internet fax without a recipient", [](InitDialog& d) { Click(d, IDC_SEND_FAX_CHECK); },
         false},
        {"Internet fax with a recipient",
         [](InitDialog& d) {
             Click(d, IDC_SEND_FAX_CHECK);
             d.ApplyEditedMessage(GuiSendDialog::kInternetFaxMode, To("fax@example.com"));
             d.UpdateSendButton();
         },
         true},
    };
    for (const Case& c : cases) {
        InitDialog& dialog = OpenInit(true);
        ASSERT_FALSE(dialog.IsItemEnabled(IDOK)) << "fresh preferences choose nothing";
        c.act(dialog);
        EXPECT_EQ(c.enabled, dialog.IsItemEnabled(IDOK)) << c.name;
        EXPECT_EQ(c.enabled, dialog.IsAnyDestinationSelected()) << c.name;
    }

    // FTP counts once the destination has a server, which the preferences hold.
    preferences.SetScanFTPServerName("ftp.example.com");
    InitDialog& dialog = OpenInit();
    Click(dialog, IDC_SEND_FTP_CHECK);
    EXPECT_TRUE(dialog.IsItemEnabled(IDOK));
    EXPECT_EQ("ftp.example.com", dialog.GetItemText(IDC_SEND_EDIT_FTP)) << "the FTP summary";
}

TEST_F(SendDialogTest, SummariesJoinTheRecipientListsAndAreCutAfterFortyCharacters) {
    Connect("localhost");
    InitDialog& dialog = OpenInit(true);
    EXPECT_EQ("Edit Email...", dialog.GetItemText(IDC_SEND_EDIT_EMAIL));

    // An address whose list text is exactly n characters long.
    const auto addressOf = [](size_t n) {
        std::string local(n, 'a');
        for (; !local.empty(); local.pop_back()) {
            if (To(local + "@x.io").GetToString().size() <= n) {
                break;
            }
        }
        return local + "@x.io";
    };
    const std::string forty = addressOf(40);
    ASSERT_EQ(40u, To(forty).GetToString().size());
    dialog.ApplyEditedMessage(GuiSendDialog::kEmailMode, To(forty));
    EXPECT_EQ(To(forty).GetToString(), dialog.GetItemText(IDC_SEND_EDIT_EMAIL));

    const std::string fortyOne = addressOf(41);
    ASSERT_EQ(41u, To(fortyOne).GetToString().size());
    dialog.ApplyEditedMessage(GuiSendDialog::kInternetFaxMode, To(fortyOne));
    EXPECT_EQ(To(fortyOne).GetToString().substr(0, 40) + "...",
              dialog.GetItemText(IDC_SEND_EDIT_FAX));

    EmailMsg lists;
    lists.AddTo("a@x.io");
    lists.AddCc("b@x.io");
    lists.AddBcc("c@x.io");
    dialog.ApplyEditedMessage(GuiSendDialog::kEmailMode, lists);
    EXPECT_EQ(lists.GetToString() + lists.GetCcString() + lists.GetBccString(),
              dialog.GetItemText(IDC_SEND_EDIT_EMAIL));

    dialog.ApplyEditedMessage(GuiSendDialog::kEmailMode, EmailMsg());
    EXPECT_EQ("Edit Email...", dialog.GetItemText(IDC_SEND_EDIT_EMAIL))
        << "an empty list brings the first caption back";
    EXPECT_EQ("Edit FTP...", dialog.GetItemText(IDC_SEND_EDIT_FTP));
}

TEST_F(SendDialogTest, FormatPickersFollowTheColourModeTheDestinationAndTheDefault) {
    using Entries_ = std::vector<std::string>;
    struct Case {
        const char* name;
        const char* server;
        // A new scan of this colour mode, or the stored job with this id.
        const char* colour;
        int jobId;
        Entries_ disk, mail;
        const char* diskSelected;
        const char* mailSelected;
    };
    const std::vector<Case> cases = {
        {"colour scan",
         "localhost",
         "COLOR",
         0,
         {"PDF", "TIFF", "JPEG"},
         {"PDF", "TIFF", "JPEG"},
         "PDF",
         "PDF"},
        {"black-and-white scan",
         "localhost",
         "BLACK_WHITE",
         0,
         {"PDF", "TIFF"},
         {"PDF", "TIFF"},
         "PDF",
         "PDF"},
        {"RAW only for e-mail and FTP",
         "send-raw",
         "COLOR",
         0,
         {"TIFF", "JPEG", "PDF"},
         {"RAW", "TIFF", "JPEG", "PDF"},
         "JPEG",
         "JPEG"},
        {"default not offered: PDF on disk, the first entry elsewhere",
         "send-raw",
         "BLACK_WHITE",
         0,
         {"TIFF", "PDF"},
         {"RAW", "TIFF", "PDF"},
         "PDF",
         "RAW"},
        {"stored black-and-white job",
         "localhost",
         nullptr,
         103,
         {"PDF", "TIFF"},
         {"PDF", "TIFF"},
         "TIFF",
         "TIFF"},
        {"stored colour job",
         "localhost",
         nullptr,
         101,
         {"PDF", "TIFF", "JPEG"},
         {"PDF", "TIFF", "JPEG"},
         "JPEG",
         "JPEG"},
    };
    for (const Case& c : cases) {
        Connect(c.server);
        GuiSendDialog& dialog = c.colour != nullptr
                                    ? static_cast<GuiSendDialog&>(OpenInit(false, c.colour))
                                    : static_cast<GuiSendDialog&>(OpenExist(c.jobId));
        EXPECT_EQ(c.disk, Entries(dialog, IDC_SEND_DISK_FORMAT)) << c.name;
        EXPECT_EQ(c.mail, Entries(dialog, IDC_SEND_EMAIL_FORMAT)) << c.name;
        EXPECT_EQ(c.mail, Entries(dialog, IDC_SEND_FTP_FORMAT)) << c.name;
        EXPECT_EQ(c.diskSelected, dialog.GetDiskFormatName()) << c.name;
        EXPECT_EQ(c.mailSelected, dialog.GetEmailFileFormat()) << c.name;
        EXPECT_EQ(c.mailSelected, dialog.GetFtpFileFormat()) << c.name;
    }
}

TEST_F(SendDialogTest, SaveAsProposesAnUntitledFileAndKeepsItInStepWithTheFormat) {
    Connect("localhost");
    InitDialog& dialog = OpenInit();
    Click(dialog, IDC_SEND_SAVE_TO_DISK);
    Choose(dialog, IDC_SEND_DISK_FORMAT, "TIFF");

    std::string proposed, filter, defaultExtension;
    DWORD flags = 0;
    HWND ownerWindow = nullptr;
    dialog.saveFile = [&](OPENFILENAMEA& request) {
        proposed = request.lpstrFile;
        filter.assign(request.lpstrFilter, 26);
        defaultExtension = request.lpstrDefExt;
        flags = request.Flags;
        ownerWindow = request.hwndOwner;
        EXPECT_EQ(1u, request.nFilterIndex);
        EXPECT_EQ(2048u, request.nMaxFile);
        lstrcpyA(request.lpstrFile, "C:\\scans\\job.tif");
        request.nFileOffset = 9;
        return true;
    };
    Click(dialog, IDC_SEND_SAVE_AS);
    EXPECT_EQ("Untitled.tif", proposed);
    EXPECT_EQ(std::string("TIFF (*.tif)\0*.tif\0\0", 21), filter.substr(0, 21));
    EXPECT_EQ("tif", defaultExtension);
    EXPECT_EQ(0x800802u, flags);
    EXPECT_EQ(dialog.GetHwnd(), ownerWindow);
    EXPECT_EQ("C:\\scans\\job.tif", dialog.GetFileSpec().GetPath());
    EXPECT_EQ("C:\\scans", preferences.GetSaveToDiskPath());
    EXPECT_EQ("job.tif", dialog.GetItemText(IDC_SEND_SAVE_AS));
    EXPECT_TRUE(dialog.IsItemEnabled(IDOK));

    Choose(dialog, IDC_SEND_DISK_FORMAT, "PDF");
    EXPECT_EQ("C:\\scans\\job.pdf", dialog.GetFileSpec().GetPath());
    EXPECT_EQ("job.pdf", dialog.GetItemText(IDC_SEND_SAVE_AS));

    // Cancelling the save-file dialog changes nothing.
    dialog.saveFile = nullptr;
    Click(dialog, IDC_SEND_SAVE_AS);
    EXPECT_EQ("C:\\scans\\job.pdf", dialog.GetFileSpec().GetPath());
    EXPECT_EQ("job.pdf", dialog.GetItemText(IDC_SEND_SAVE_AS));
}

TEST_F(SendDialogTest, SaveAsAfterARefusedScanTakesTheChosenFile) {
    Connect("localhost");
    preferences.SetScanBusy(true);
    preferences.SetSaveToDiskCheck(true);
    preferences.SetSaveToDiskPath("C:\\before\\previous.pdf");
    InitDialog& dialog = OpenInit();
    EXPECT_EQ("C:\\before\\previous.pdf", dialog.GetFileSpec().GetPath());
    EXPECT_EQ("previous.pdf", dialog.GetItemText(IDC_SEND_SAVE_AS));

    std::string proposed;
    dialog.saveFile = [&](OPENFILENAMEA& request) {
        proposed = request.lpstrFile;
        lstrcpyA(request.lpstrFile, "C:\\after\\next.pdf");
        request.nFileOffset = 9;
        return true;
    };
    Click(dialog, IDC_SEND_SAVE_AS);
    EXPECT_EQ("previous.pdf", proposed) << "the refused attempt's file is proposed";
    EXPECT_EQ("C:\\after\\next.pdf", dialog.GetFileSpec().GetPath());
    EXPECT_EQ("C:\\after", preferences.GetSaveToDiskPath());
    EXPECT_EQ("next.pdf", dialog.GetItemText(IDC_SEND_SAVE_AS));
}

TEST_F(SendDialogTest, ARefusedScansEntriesComeBack) {
    Connect("localhost");
    preferences.SetScanBusy(true);
    preferences.SetScanFilename("again");
    preferences.SetScanMailbox("Sales");
    preferences.SetCurrentMailbox("Other");
    preferences.SetScanSendEmail(true);
    preferences.SetScanMailSubject("Report");
    preferences.SetNumEmailBodyLines(5);
    for (const auto& line : std::vector<std::pair<int, const char*>>{
             {0, ""}, {1, "Hello"}, {2, ""}, {3, ""}, {4, "Bye"}}) {
        preferences.SetScanMailBody(line.first, line.second);
    }
    preferences.SetNumOfAddress(ScanPreferences::EmailTo, 2);
    preferences.SetAddress(ScanPreferences::EmailTo, 0, "ann@x.io");
    preferences.SetAddress(ScanPreferences::EmailTo, 1, "bob@x.io");
    preferences.SetNumOfAddress(ScanPreferences::EmailBcc, 1);
    preferences.SetAddress(ScanPreferences::EmailBcc, 0, "eve@x.io");
    preferences.SetScanIFaxSubject("Fax");
    preferences.SetNumOfAddress(ScanPreferences::IFaxCc, 1);
    preferences.SetAddress(ScanPreferences::IFaxCc, 0, "fax@example.com");

    InitDialog& dialog = OpenInit(true);
    EXPECT_EQ("again", TextOf(dialog, IDC_SEND_FILE_NAME));
    EXPECT_EQ("Sales", TextOf(dialog, IDC_SEND_MAILBOX_NAME));
    const EmailMsg mail = dialog.GetEmailMessage();
    EXPECT_EQ("Report", mail.GetSubject());
    EXPECT_EQ(2, mail.GetToCount());
    EXPECT_EQ(1, mail.GetBccCount());
    EmailMsg body;
    body.SetBody("Hello\nBye");
    ASSERT_EQ(body.GetLineCount(), mail.GetLineCount()) << "one break between the lines";
    for (int32_t i = 0; i < body.GetLineCount(); ++i) {
        EXPECT_EQ(body.GetLine(i), mail.GetLine(i)) << i;
    }
    EXPECT_EQ(mail.GetToString() + mail.GetCcString() + mail.GetBccString(),
              dialog.GetItemText(IDC_SEND_EDIT_EMAIL));
    const EmailMsg fax = dialog.GetInternetFaxMessage();
    EXPECT_EQ("Fax", fax.GetSubject());
    EXPECT_EQ(1, fax.GetCcCount());

    // Without the refusal the entries start empty and the mailbox is the current one.
    preferences.SetScanBusy(false);
    InitDialog& fresh = OpenInit(true);
    EXPECT_EQ("", TextOf(fresh, IDC_SEND_FILE_NAME));
    EXPECT_EQ("Other", TextOf(fresh, IDC_SEND_MAILBOX_NAME));
    EXPECT_EQ(0, fresh.GetEmailMessage().GetRecipientCount());
    EXPECT_EQ("Edit Email...", fresh.GetItemText(IDC_SEND_EDIT_EMAIL));
}

TEST_F(SendDialogTest, TypedNamesKeepToTheirLimitsAndCharacters) {
    struct Case {
        const char* server;
        int control;
        std::string typed;
        std::string kept;
    };
    const std::string longName(80, 'm');
    const std::vector<Case> cases = {
        {"send-raw", IDC_SEND_MAILBOX_NAME, "12a345", "1234"},
        {"localhost", IDC_SEND_MAILBOX_NAME, "Sales-" + longName,
         ("Sales-" + longName).substr(0, 72)},
        {"localhost", IDC_SEND_FILE_NAME, "a:b\"c\\d/e*f?g<h>i|j%k(l)m&n^o$p", "abcdefghijklmnop"},
        {"localhost", IDC_SEND_FILE_NAME, std::string(40, 'f'), std::string(31, 'f')},
    };
    for (const Case& c : cases) {
        Connect(c.server);
        InitDialog& dialog = OpenInit();
        Type(dialog, c.control, c.typed);
        EXPECT_EQ(c.kept, TextOf(dialog, c.control)) << c.server << " " << c.typed;
    }
}

TEST_F(SendDialogTest, ServersWithoutUrlMailsSendAttachments) {
    Connect("mediators");
    preferences.SetScanSendAsURL(true);
    ExistDialog& dialog = OpenExist(0);
    // The mediators' server has no e-mail: the group is gone, and with it any URL choice.
    EXPECT_FALSE(IsWindowVisible(dialog.GetItem(IDC_SEND_AS_URL)));
    EXPECT_FALSE(dialog.IsSendAsUrl());

    Connect("localhost");
    InitDialog& urls = OpenInit();
    EXPECT_TRUE(IsWindowVisible(urls.GetItem(IDC_SEND_AS_URL)));
    EXPECT_TRUE(urls.IsItemChecked(IDC_SEND_AS_URL));
    EXPECT_FALSE(urls.IsItemChecked(IDC_SEND_AS_ATTACHMENT));
    EXPECT_TRUE(urls.IsSendAsUrl());
}

TEST_F(SendDialogTest, ANewScansMailboxAndSaveToDiskExcludeEachOther) {
    Connect("localhost");
    preferences.SetSaveToDiskCheck(true);
    preferences.SetScanSendMailbox(true);
    InitDialog& disk = OpenInit();
    EXPECT_FALSE(disk.IsItemEnabled(IDC_SEND_MAILBOX_CHECK));
    EXPECT_FALSE(disk.IsItemChecked(IDC_SEND_MAILBOX_CHECK));
    EXPECT_FALSE(disk.IsItemEnabled(IDC_SEND_MAILBOX_NAME));

    preferences.SetSaveToDiskCheck(false);
    preferences.SetScanSendMailbox(false);
    InitDialog& dialog = OpenInit();
    Click(dialog, IDC_SEND_MAILBOX_CHECK);
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_SEND_MAILBOX_NAME));
    EXPECT_FALSE(dialog.IsItemChecked(IDC_SEND_SAVE_TO_DISK));
    for (const int id : {IDC_SEND_SAVE_TO_DISK, IDC_SEND_SAVE_AS, IDC_SEND_DISK_FORMAT}) {
        EXPECT_FALSE(dialog.IsItemEnabled(id)) << id;
    }
    Click(dialog, IDC_SEND_MAILBOX_CHECK);
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_SEND_SAVE_TO_DISK));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_SAVE_AS)) << "waits for Save To Disk";
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_DISK_FORMAT));
    Click(dialog, IDC_SEND_SAVE_TO_DISK);
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_SEND_SAVE_AS));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_SEND_DISK_FORMAT));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_MAILBOX_CHECK));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_MAILBOX_NAME));
}

TEST_F(SendDialogTest, InternetFaxFollowsTheScansChoiceOrTheStoredJob) {
    struct Case {
        const char* name;
        const char* server;
        // -1: a new scan with the fax flag off, -2: with it on; else a stored job (0: none).
        int job;
        bool enabled, checked, editEnabled;
    };
    const std::vector<Case> cases = {
        {"new scan without the pane's fax choice", "localhost", -1, false, false, false},
        {"new scan with it", "localhost", -2, true, true, true},
        {"new scan with it, server cannot make faxable", "send-raw", -2, false, true, true},
        {"faxable stored job", "localhost", 103, true, true, true},
        {"stored job not faxable", "localhost", 101, false, false, false},
        {"no stored job", "localhost", 0, false, false, false},
    };
    preferences.SetScanSendToInternetFax(true);
    for (const Case& c : cases) {
        Connect(c.server);
        GuiSendDialog& dialog = c.job < 0 ? static_cast<GuiSendDialog&>(OpenInit(c.job == -2))
                                          : static_cast<GuiSendDialog&>(OpenExist(c.job));
        EXPECT_EQ(c.enabled, dialog.IsItemEnabled(IDC_SEND_FAX_CHECK)) << c.name;
        EXPECT_EQ(c.checked, dialog.IsItemChecked(IDC_SEND_FAX_CHECK)) << c.name;
        EXPECT_EQ(c.editEnabled, dialog.IsItemEnabled(IDC_SEND_EDIT_FAX)) << c.name;
    }

    // The edit button follows the box.
    Connect("localhost");
    GuiSendDialog& dialog = OpenExist(103);
    Click(dialog, IDC_SEND_FAX_CHECK);
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_EDIT_FAX));
    Click(dialog, IDC_SEND_FAX_CHECK);
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_SEND_EDIT_FAX));
}

TEST_F(SendDialogTest, AStoredJobKeepsItsNameAndPagesAndHasNoMailbox) {
    Connect("localhost");
    preferences.SetScanSendMailbox(true);
    ExistDialog& dialog = OpenExist(103, 3);
    EXPECT_EQ(dialog.GetMediator()->GetCurrentImageName(), TextOf(dialog, IDC_SEND_FILE_NAME));
    EXPECT_FALSE(TextOf(dialog, IDC_SEND_FILE_NAME).empty());
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_FILE_NAME));
    EXPECT_FALSE(dialog.IsItemChecked(IDC_SEND_MAILBOX_CHECK));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_MAILBOX_CHECK));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_SEND_MAILBOX_NAME));
    EXPECT_EQ("3", dialog.GetPages());
    dialogtest::Screenshot(dialog, "GuiSendDialogExist.en");

    EXPECT_EQ("0", OpenExist(103, 0).GetPages());
    EXPECT_EQ("0", OpenExist(103, -1).GetPages());

    // Every destination of the send carries the page selection.
    ExistDialog& send = OpenExist(103, 2);
    Click(send, IDC_SEND_HOLD_QUEUE);
    Click(send, IDOK);
    ASSERT_FALSE(IsOpen());
    const ScanAttributeMap sent = ExportedAttributes(*job);
    EXPECT_EQ("HOLDQ", sent.at("DEST:1"));
    EXPECT_EQ("2", sent.at("DEST_PAGE:1"));
    EXPECT_EQ(0u, sent.count("MAILBOX"));
}

TEST_F(SendDialogTest, SendWritesTheJobAndThePreferencesAndCancelWritesNothing) {
    Connect("localhost");
    InitDialog& cancelled = OpenInit(true);
    Type(cancelled, IDC_SEND_FILE_NAME, "scan1");
    Click(cancelled, IDC_SEND_HOLD_QUEUE);
    Click(cancelled, IDC_SEND_MAILBOX_CHECK);
    Type(cancelled, IDC_SEND_MAILBOX_NAME, "42");
    Click(cancelled, IDC_SEND_EMAIL_CHECK);
    Click(cancelled, IDC_SEND_AS_URL);
    Choose(cancelled, IDC_SEND_EMAIL_FORMAT, "TIFF");
    Click(cancelled, IDC_SEND_FTP_CHECK);
    Click(cancelled, IDC_SEND_FAX_CHECK);
    const ScanAttributeMap before = ExportedAttributes(*job);
    Click(cancelled, IDCANCEL);
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(2, ending.result);
    EXPECT_TRUE(store.writes.empty()) << store.writes.front();
    EXPECT_EQ(before, ExportedAttributes(*job));

    InitDialog& dialog = OpenInit();
    Type(dialog, IDC_SEND_FILE_NAME, "scan1");
    Click(dialog, IDC_SEND_HOLD_QUEUE);
    Click(dialog, IDC_SEND_EMAIL_CHECK);
    dialog.ApplyEditedMessage(GuiSendDialog::kEmailMode, To("ann@example.com"));
    dialog.UpdateSendButton();
    Choose(dialog, IDC_SEND_EMAIL_FORMAT, "TIFF");
    Click(dialog, IDOK);
    ASSERT_FALSE(IsOpen());
    EXPECT_EQ(1, ending.result);
    const ScanAttributeMap sent = ExportedAttributes(*job);
    EXPECT_EQ("scan1", sent.at("FILENAME"));
    EXPECT_EQ("2", sent.at("N_DEST"));
    EXPECT_EQ("HOLDQ", sent.at("DEST:1"));
    EXPECT_EQ("EMAIL", sent.at("DEST:2"));
    EXPECT_EQ("TIFF", sent.at("DEST_FORMAT:2"));
    EXPECT_EQ("NO", sent.at("MAIL_FORCE_URL"));

    const std::map<std::string, std::string> expected = {
        {"ScanFilename", "scan1"},          {"ScanMailbox", ""},
        {"ScanSendTrelliq", "true"},        {"SaveToDiskCheck", "false"},
        {"ScanSendEmail", "true"},          {"ScanEmailFileFormat", "TIFF"},
        {"ScanSendAsURL", "false"},         {"ScanSendToFTP", "false"},
        {"ScanSendToInternetFax", "false"}, {"ScanSendMailbox", "false"},
    };
    for (const auto& pair : expected) {
        ASSERT_EQ(1u, store.values.count(pair.first)) << pair.first;
        EXPECT_EQ(pair.second, store.values.at(pair.first)) << pair.first;
    }
    EXPECT_EQ(0u, store.values.count("ScanToDiskFileFormat")) << "only with Save To Disk";
    EXPECT_EQ(0u, store.values.count("ScanFTPFileFormat")) << "only with FTP";
}

TEST_F(SendDialogTest, TheEditButtonsOpenTheirEditors) {
    Connect("localhost");
    InitDialog& dialog = OpenInit(true);
    Click(dialog, IDC_SEND_EMAIL_CHECK);
    Click(dialog, IDC_SEND_EDIT_EMAIL);
    Click(dialog, IDC_SEND_FAX_CHECK);
    Click(dialog, IDC_SEND_EDIT_FAX);
    EXPECT_EQ((std::vector<int>{GuiSendDialog::kEmailMode, GuiSendDialog::kInternetFaxMode}),
              dialog.editorModes);
}

TEST_F(SendDialogTest, TheMessageEditorsOkReplacesTheMessageAndCancelKeepsIt) {
    // The editor's fields are rich edit controls, whose library the user-interface handler
    // loads in the product.
    ASSERT_NE(nullptr, LoadLibraryA("RichEd32.Dll"));
    Connect("localhost");
    InitDialog& dialog = OpenInit(true);
    dialog.realEditor = true;
    const struct {
        int check;
        int edit;
    } editors[] = {{IDC_SEND_EMAIL_CHECK, IDC_SEND_EDIT_EMAIL},
                   {IDC_SEND_FAX_CHECK, IDC_SEND_EDIT_FAX}};
    for (const auto& row : editors) {
        SCOPED_TRACE(row.edit);
        const std::string caption = dialog.GetItemText(row.edit);
        Click(dialog, row.check);
        for (const int answer : {IDCANCEL, IDOK}) {
            Click(dialog, row.edit);
            auto* const editor = dynamic_cast<GuiEmailEditDialog*>(dialog.GetChildDialog());
            ASSERT_NE(nullptr, editor);
            Type(*editor, IDC_EDIT_TO_FIELD, "ann@x.io");
            Click(*editor, answer);
            guitest::PumpPending();
            EXPECT_EQ(nullptr, dialog.GetChildDialog());
            if (answer == IDCANCEL) {
                EXPECT_EQ(caption, dialog.GetItemText(row.edit));
            }
        }
        EXPECT_EQ(To("ann@x.io").GetToString(), dialog.GetItemText(row.edit));
    }
}

TEST_F(SendDialogTest, AnOpenEditorEndsBeforeTheMediatorItUses) {
    ASSERT_NE(nullptr, LoadLibraryA("RichEd32.Dll"));
    Connect("localhost");
    job->SetAttribute("COLOR_MODE", "COLOR");
    auto* mediator = new WatchedMediator(job.get(), session->GetScanner(), &preferences);
    auto* dialog =
        new InitDialog(&owner, job.get(), session->GetScanner(), &preferences, mediator, true);
    Show(*dialog, *mediator);
    dialog->realEditor = true;
    Click(*dialog, IDC_SEND_EMAIL_CHECK);
    Click(*dialog, IDC_SEND_EDIT_EMAIL);
    ASSERT_NE(nullptr, dialog->GetChildDialog());
    bool editorOutlived = false;
    mediator->watchedWindow = dialog->GetChildDialog()->GetHwnd();
    mediator->windowOutlived = &editorOutlived;
    CloseDialog();
    EXPECT_FALSE(editorOutlived);
}

TEST_F(SendDialogTest, AnEditorWhoseWindowCannotBeMadeIsNotKept) {
    Connect("localhost");
    InitDialog& dialog = OpenInit(true);
    dialog.realEditor = true;
    const int edits[] = {IDC_SEND_EDIT_EMAIL, IDC_SEND_EDIT_FTP, IDC_SEND_EDIT_FAX};
    for (const int check : {IDC_SEND_EMAIL_CHECK, IDC_SEND_FTP_CHECK, IDC_SEND_FAX_CHECK}) {
        Click(dialog, check);
    }
    for (const int edit : edits) {
        ASSERT_TRUE(IsWindowEnabled(dialog.GetItem(edit))) << edit;
    }
    // A module without the editors' templates: their windows cannot be made.
    ResourceLoader* const loader = ResourceLoader::Instance();
    const HMODULE resources = loader->GetModule();
    loader->SetModule(GetModuleHandleA("kernel32.dll"));
    for (const int edit : edits) {
        Click(dialog, edit);
        EXPECT_EQ(nullptr, dialog.GetChildDialog()) << edit;
        EXPECT_TRUE(IsWindowEnabled(dialog.GetHwnd())) << edit;
    }
    loader->SetModule(resources);
    Click(dialog, IDC_SEND_EDIT_FTP);
    EXPECT_NE(nullptr, dialog.GetChildDialog()) << "with its template the editor opens";
}

TEST_F(SendDialogTest, TheWindowIsTranslated) {
    Connect("localhost");
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    for (int index = 0; index < 9; ++index) {
        // Japanese and Chinese need their own code page: TheWindowInTheCodePagesLanguage.
        const std::string code = ResourceLoader::CodeForIndex(index);
        if (code != "de") {
            continue;
        }
        loader->SetLanguageIndex(index);
        InitDialog& dialog = OpenInit(true);
        EXPECT_NE("Cancel", dialog.GetItemText(IDCANCEL)) << code;
        dialogtest::Screenshot(dialog, "GuiSendDialog." + code);
        CloseDialog();
    }
    loader->SetLanguageIndex(saved);
}

TEST_F(SendDialogTest, TheWindowInTheCodePagesLanguage) {
    const guitest::CodePageLanguage language = guitest::LanguageOfCodePage();
    ASSERT_EQ("", language.missingLocale) << "not generated on this machine";
    if (language.index < 0) {
        GTEST_SKIP() << "Japanese and Chinese texts need their code page";
    }
    Connect("localhost");
    ResourceLoader* const loader = ResourceLoader::Instance();
    const int saved = loader->GetLanguageIndex();
    loader->SetLanguageIndex(language.index);
    InitDialog& dialog = OpenInit(true);
    const std::wstring cancel =
        guitest::TemplateText(loader->GetModule(), IDD_SEND_DIALOG, language.langId, IDCANCEL);
    loader->SetLanguageIndex(saved);
    EXPECT_FALSE(cancel.empty());
    EXPECT_EQ(cancel, guitest::WideControlText(dialog.GetHwnd(), IDCANCEL));
    dialogtest::Screenshot(dialog, "GuiSendDialog." + language.code);
}
