// The change-mailbox dialog and the about box, each a modeless child of an owner window.

#include "DialogTestSupport.h"
#include "GuiAboutDialog.h"
#include "GuiAboutDialog_rc.h"
#include "GuiChangeMailboxDialog.h"
#include "GuiChangeMailboxDialog_rc.h"

#include <cstring>
#include <regex>

namespace {

class SmallDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        owner = new OwnerWindow(IDD_CHANGE_MAILBOX);
        owner->Create();
    }
    void TearDown() override {
        owner->Close();
        DialogTest::TearDown();
    }

    OwnerWindow* owner = nullptr;
};

const char* const kBrandingKey = "Software\\Halcyra";

void SetBranding(bool branded) {
    if (branded) {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, kBrandingKey, "BrandingA", REG_SZ, "any", 4);
    } else {
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kBrandingKey, "BrandingA");
    }
}

// The colour at the picture's top-left corner.
COLORREF PictureCorner(HWND about) {
    const auto picture = reinterpret_cast<HBITMAP>(
        SendDlgItemMessageA(about, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, picture);
    const COLORREF colour = GetPixel(dc, 2, 2);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

} // namespace

TEST_F(SmallDialogTest, ChangeMailboxEnablesOkOnlyWithAName) {
    auto* const dialog = new GuiChangeMailboxDialog(owner, "");
    owner->Adopt(dialog);
    dialog->Create();
    const HWND window = dialog->GetHwnd();
    EXPECT_FALSE(IsItemEnabled(window, IDOK));
    TypeAtCaret(window, IDC_MAILBOX_NAME, "x");
    EXPECT_TRUE(IsItemEnabled(window, IDOK));
    guitest::TypeText(window, IDC_MAILBOX_NAME, "");
    EXPECT_FALSE(IsItemEnabled(window, IDOK));
    // The fields refuse what is typed beyond their limits.
    TypeAtCaret(window, IDC_MAILBOX_NAME, std::string(100, 'm'));
    TypeAtCaret(window, IDC_MAILBOX_PASSWORD, std::string(40, 'p'));
    EXPECT_EQ(72u, guitest::ControlText(window, IDC_MAILBOX_NAME).size());
    char password[64] = {};
    GetDlgItemTextA(window, IDC_MAILBOX_PASSWORD, password, sizeof(password));
    EXPECT_EQ(32u, std::strlen(password));
    EXPECT_EQ('*', static_cast<char>(SendDlgItemMessageA(window, IDC_MAILBOX_PASSWORD,
                                                         EM_GETPASSWORDCHAR, 0, 0)));

    std::string taken = "<none>";
    owner->inspect = [&](GuiWindowsDialog* child) {
        taken = static_cast<GuiChangeMailboxDialog*>(child)->GetMailbox();
    };
    guitest::ClickButton(window, IDCANCEL);
    ASSERT_EQ(1u, owner->requests.size());
    EXPECT_EQ(IDD_CHANGE_MAILBOX, owner->requests[0].dialogId);
    EXPECT_EQ(2, owner->requests[0].result);
    EXPECT_EQ(nullptr, owner->GetChildDialog());
}

TEST_F(SmallDialogTest, ChangeMailboxWithANameAsksForThePassword) {
    auto* const dialog = new GuiChangeMailboxDialog(owner, "Sales");
    owner->Adopt(dialog);
    dialog->Create();
    const HWND window = dialog->GetHwnd();
    EXPECT_EQ("Sales", guitest::ControlText(window, IDC_MAILBOX_NAME));
    EXPECT_EQ(GetDlgItem(window, IDC_MAILBOX_PASSWORD), guitest::FocusIn(window));
    EXPECT_TRUE(IsItemEnabled(window, IDOK));
    TypeAtCaret(window, IDC_MAILBOX_PASSWORD, "secret");
    Shoot(window, "GuiChangeMailboxDialog.en.png");

    std::string mailbox;
    std::string password;
    owner->inspect = [&](GuiWindowsDialog* child) {
        auto* const change = static_cast<GuiChangeMailboxDialog*>(child);
        mailbox = change->GetMailbox();
        password = change->GetPassword();
    };
    guitest::ClickButton(window, IDOK);
    ASSERT_EQ(1u, owner->requests.size());
    EXPECT_EQ(1, owner->requests[0].result);
    EXPECT_EQ("Sales", mailbox);
    EXPECT_EQ("secret", password);
}

TEST_F(SmallDialogTest, TheAboutBoxShowsItsPictureAndCreditsUntilAKeyOrClick) {
    for (const bool branded : {false, true}) {
        SCOPED_TRACE(branded ? "branded" : "plain");
        SetBranding(branded);
        auto* const about = new GuiAboutDialog(owner);
        owner->Adopt(about);
        about->Create();
        const HWND window = about->GetHwnd();
        // The plain picture is blue at its corner, the branded one purple.
        const COLORREF corner = PictureCorner(window);
        EXPECT_EQ(branded, GetRValue(corner) > GetBValue(corner) / 2) << std::hex << corner;
        const HWND credits = about->GetScrollText().GetHwnd();
        ASSERT_NE(nullptr, credits);
        EXPECT_EQ(window, GetParent(credits));
        if (!branded) {
            Shoot(window, "GuiAboutDialog.en.png");
        }
        // Moving the mouse leaves it open; releasing a key closes it.
        SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
        guitest::PumpPending();
        EXPECT_TRUE(owner->requests.empty());
        SendMessageA(window, branded ? WM_LBUTTONDOWN : WM_KEYUP, 0, 0);
        EXPECT_TRUE(guitest::PumpUntil([&] { return !owner->requests.empty(); }));
        ASSERT_EQ(1u, owner->requests.size());
        EXPECT_EQ(IDD_ABOUT, owner->requests[0].dialogId);
        EXPECT_EQ(1, owner->requests[0].result);
        EXPECT_EQ(nullptr, owner->GetChildDialog());
        owner->requests.clear();
    }
    SetBranding(false);
}

TEST_F(SmallDialogTest, CreditsCarryTheVersionLineAndTheNoticesInOrder) {
    const std::string credits = GuiAboutDialog::BuildCredits();
    EXPECT_EQ(0u, credits.find("\r\n\r\n\r\n\r\n\r\n\r\nZyl Nimbrel\r\n"));
    // This program has no version resource: the build stamp stands in.
    const std::regex stamp("Zyl Nimbrel\r\n - [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4} - "
                           "[0-9]{2}:[0-9]{2}:[0-9]{2}\r\n\r\n");
    EXPECT_TRUE(std::regex_search(credits, stamp)) << credits;
    const size_t rights = credits.find("All rights reserved.");
    const size_t patents = credits.find("protected by the following patents:");
    const size_t warning = credits.find("Warning:");
    EXPECT_LT(rights, patents);
    EXPECT_LT(patents, warning);
    EXPECT_EQ(credits.size() - 4 * 2, credits.rfind("\r\n\r\n\r\n\r\n"));
}

TEST(ModuleFileVersion, NeverWritesPastTheBuffer) {
    for (const size_t size : {size_t{1}, size_t{4}, size_t{9}, size_t{40}}) {
        char buffer[64];
        std::memset(buffer, '#', sizeof(buffer));
        buffer[0] = '\0';
        EXPECT_FALSE(getModuleFileVersion(GetModuleHandleA(nullptr), buffer, size));
        EXPECT_LT(std::strlen(buffer), size) << size;
        for (size_t i = size; i < sizeof(buffer); ++i) {
            ASSERT_EQ('#', buffer[i]) << size << " at " << i;
        }
    }
    // Whatever the buffer held stays in front of the stamp.
    char buffer[64] = "v";
    getModuleFileVersion(GetModuleHandleA(nullptr), buffer, sizeof(buffer));
    EXPECT_EQ(0, std::strncmp(buffer, "v - ", 4)) << buffer;
}

TEST_F(SmallDialogTest, APaperPortHostKeepsTheAboutBoxAndTheMailboxDialogOnTop) {
    for (const char* host : {"PaperPort 11", "Twain Test App"}) {
        SCOPED_TRACE(host);
        std::strcpy(app.AppIdentity().ProductName, host);
        ASSERT_EQ(TWRC_SUCCESS, app.OpenSource("Nimbrel 5"));
        const bool onTop = std::string(host) == "PaperPort 11";
        GuiWindowsDialog* const dialogs[] = {new GuiAboutDialog(owner),
                                             new GuiChangeMailboxDialog(owner, "Sales")};
        for (GuiWindowsDialog* const dialog : dialogs) {
            owner->Adopt(dialog);
            dialog->Create();
            EXPECT_EQ(onTop,
                      (GetWindowLongPtrA(dialog->GetHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0)
                << dialog->GetDialogId();
        }
        owner->Adopt(nullptr);
        Unload();
    }
}
