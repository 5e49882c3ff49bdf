// The scan initiate pane in a window of its own over the simulated servers: which controls a
// server's capabilities show, the rules that tie the settings together, the typed values it
// corrects, what it stores on closing and restores, and the job attributes its mediator
// writes from it.

#include "DialogTemplateReader.h"
#include "ExportedAttributes.h"
#include "GuiMultiPaneDialog.h"
#include "GuiScanInitiateDialog.h"
#include "GuiScanInitiateDialog_rc.h"
#include "GuiTestSupport.h"
#include "InitiateTestOwner_rc.h"
#include "OrvexSimControl.h"
#include "PaneHostIntf.h"
#include "ResourceLoader.h"
#include "ScanAttributeWrapper.h"
#include "ScanPreferences.h"
#include "Scanner.h"
#include "SimulatedServerSession.h"
#include "TabCtrl.h"
#include "XGPreferences.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kPreferencesProduct = "NimbrelInitiatePaneTests";

class TestPane : public GuiScanInitiateDialog {
public:
    TestPane(GuiMultiPaneDialog* owner, ScanAttributeWrapper* target, Scanner* scanner,
             ScanPreferences* preferences, bool sendRole)
        : GuiScanInitiateDialog(owner, nullptr, target, scanner, preferences),
          m_sendRole(sendRole) {}

protected:
    bool IsSendRole() const override { return m_sendRole; }

private:
    bool m_sendRole;
};

class OtherPane : public GuiMultiPane {
public:
    explicit OtherPane(GuiMultiPaneDialog* owner) : GuiMultiPane(IDD_INITIATE_OTHER_PANE, owner) {}
};

struct PaneSetup {
    ScanAttributeWrapper* target;
    Scanner* scanner;
    ScanPreferences* preferences;
    bool sendRole;
    // Another pane comes first, so the initiate pane is not shown at the start.
    bool otherPaneFirst;
};

// A host as the acquire window is one: a multi-pane window that wants to know which pane
// governs its buttons.
class TestOwner : public GuiMultiPaneDialog, public PaneHostIntf {
public:
    explicit TestOwner(const PaneSetup& setup)
        : GuiMultiPaneDialog(IDD_INITIATE_OWNER, IDC_OWNER_TABS, nullptr), m_setup(setup) {}

    bool OnInitDialog() override {
        GuiWindowsDialog::OnInitDialog();
        tabs.SetHandle(GetItem(IDC_OWNER_TABS));
        if (m_setup.otherPaneFirst) {
            AddPane(new OtherPane(this));
            tabs.AddTab("Retrieve");
        }
        pane = new TestPane(this, m_setup.target, m_setup.scanner, m_setup.preferences,
                            m_setup.sendRole);
        AddPane(pane);
        tabs.AddTab("Initiate");
        return GuiMultiPaneDialog::OnInitDialog();
    }
    void SetStateValue(int32_t paneIndex) override { states.push_back(paneIndex); }

    TabCtrl tabs;
    TestPane* pane = nullptr;
    std::vector<int32_t> states;

private:
    PaneSetup m_setup;
};

class ScanInitiatePaneTest : public ::testing::Test {
protected:
    void SetUp() override {
        OrvexSim_Reset();
        m_savedLanguage = ResourceLoader::Instance()->GetLanguageIndex();
        ResourceLoader::Instance()->SetLanguageIndex(0);
        RemoveStore();
        m_store = std::make_unique<CommonCpp::XGPreferences>(
            "Halcyra", kPreferencesProduct, "", CommonCpp::XGPreferences::ScopeCurrentUser);
        preferences.SetStore(m_store.get());
    }
    void TearDown() override {
        CloseOwner();
        m_job.reset();
        m_session.reset();
        m_store.reset();
        RemoveStore();
        ResourceLoader::Instance()->SetLanguageIndex(m_savedLanguage);
        OrvexSim_Reset();
    }
    static void RemoveStore() {
        const std::string key = std::string("Software\\Halcyra\\") + kPreferencesProduct;
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    }

    void Connect(const std::string& server) {
        CloseOwner();
        m_job.reset();
        m_session.reset();
        m_session = std::make_unique<SimulatedServerSession>(server);
        ASSERT_TRUE(m_session->GetScanner()->IsConnected()) << server;
        m_job = std::make_unique<ScanAttributeWrapper>(m_session->Wrapper(), nullptr);
    }

    // The host window with the pane on a server; the pane is shown unless another pane is
    // asked to come first.
    TestPane& Open(const std::string& server, bool sendRole = false, bool otherPaneFirst = false) {
        Connect(server);
        return Reopen(sendRole, otherPaneFirst);
    }
    // A new window and pane on the server already connected.
    TestPane& Reopen(bool sendRole = false, bool otherPaneFirst = false) {
        CloseOwner();
        owner = new TestOwner(
            {m_job.get(), m_session->GetScanner(), &preferences, sendRole, otherPaneFirst});
        owner->Create();
        guitest::PumpPending();
        return *owner->pane;
    }
    // Closes the window and its panes: the pane stores its choices.
    void CloseOwner() {
        if (owner != nullptr) {
            owner->Close();
            owner = nullptr;
            guitest::PumpPending();
        }
    }

    HWND Item(int id) const { return GetDlgItem(owner->pane->GetHwnd(), id); }
    bool Shown(int id) const { return (GetWindowLongPtrA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0; }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    std::string Text(int id) const {
        char text[256] = {};
        GetWindowTextA(Item(id), text, sizeof(text));
        return text;
    }
    std::vector<std::string> Entries(int id) const {
        std::vector<std::string> entries;
        const auto count = static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[256] = {};
            SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(text));
            entries.push_back(text);
        }
        return entries;
    }
    std::string Chosen(int id) const {
        const auto selected = static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
        return selected < 0 ? "<none>" : Entries(id)[static_cast<size_t>(selected)];
    }
    void Notify(int id, int code) const {
        SendMessageA(owner->pane->GetHwnd(), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(Item(id)));
    }
    // Chooses an entry as the user does: the selection, then the notice.
    void Choose(int id, const std::string& text) const {
        const LRESULT index = SendMessageA(Item(id), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str()));
        ASSERT_GE(index, 0) << text << " is not offered by " << id;
        SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        Notify(id, CBN_SELCHANGE);
    }
    void Click(int id) const { SendMessageA(Item(id), BM_CLICK, 0, 0); }
    // Types into an edit field and leaves it.
    void TypeAndLeave(HWND edit, int id, int leaveCode, const std::string& text) const {
        SetWindowTextA(edit, text.c_str());
        Notify(id, leaveCode);
    }
    HWND ResolutionEdit() const { return GetWindow(Item(IDC_SI_RES_EDIT), GW_CHILD); }
    std::string ResolutionText() const {
        char text[32] = {};
        GetWindowTextA(ResolutionEdit(), text, sizeof(text));
        return text;
    }
    void TypeResolution(const std::string& text) const {
        SetWindowTextA(ResolutionEdit(), text.c_str());
        Notify(IDC_SI_RES_EDIT, CBN_EDITCHANGE);
    }
    std::string Stored(const std::string& name) const {
        bool found = false;
        const std::string value = m_store->GetString(name, found);
        return found ? value : "<missing>";
    }

    ScanPreferences preferences;
    TestOwner* owner = nullptr;

private:
    std::unique_ptr<CommonCpp::XGPreferences> m_store;
    std::unique_ptr<SimulatedServerSession> m_session;

protected:
    std::unique_ptr<ScanAttributeWrapper> m_job;

private:
    int m_savedLanguage = 0;
};

TEST_F(ScanInitiatePaneTest, TheServersCapabilitiesDecideWhichControlsShow) {
    const std::vector<int> everySetting = {
        IDC_SI_SOURCE,       IDC_SI_BIND,     IDC_SI_MIXED,      IDC_SI_ORIENT,
        IDC_SI_COMPRESS,     IDC_SI_BREMOVE,  IDC_SI_BRIGHT,     IDC_SI_IMAGE_MODE,
        IDC_SI_DROP,         IDC_SI_RANGE,    IDC_SI_SPLIT,      IDC_SI_TIMEOUT_EDIT,
        IDC_SI_TIMEOUT_SPIN, IDC_SI_ERASE,    IDC_SI_BORDER_TOP, IDC_SI_BORDER_LEFT,
        IDC_SI_OCR,          IDC_SI_THIN,     IDC_SI_ODD_PAGE,   IDC_SI_SHARP,
        IDC_SI_BG_ADJUST,    IDC_SI_EXPOSURE, IDC_SI_ROTATE,     IDC_SI_IFAX};
    const std::vector<int> labels = {IDC_SI_SOURCE_LABEL, IDC_SI_BIND_LABEL, IDC_SI_SPLIT_LABEL,
                                     IDC_SI_SHARP_LABEL, IDC_SI_BORDER_LABEL};
    struct Case {
        const char* server;
        bool sendRole;
        bool everyOptionalShown;
        // Which of the two resolution controls is in use.
        int resolutionShown;
        int resolutionHidden;
        const char* maxLabel;
    };
    const Case cases[] = {
        {"initiate", true, true, IDC_SI_RES_EDIT, IDC_SI_RES_LIST, "600 dpi"},
        {"initiate-layout", false, false, IDC_SI_RES_LIST, IDC_SI_RES_EDIT, "400 dpi"},
        {"caps-bare", true, false, IDC_SI_RES_EDIT, IDC_SI_RES_LIST, "600 dpi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.server);
        Open(c.server, c.sendRole);
        for (int id : everySetting) {
            EXPECT_EQ(c.everyOptionalShown, Shown(id)) << "control " << id;
        }
        for (int id : labels) {
            EXPECT_EQ(c.everyOptionalShown, Shown(id)) << "label " << id;
        }
        for (int id : {IDC_SI_SIDES, IDC_SI_SIZE, IDC_SI_COLOR}) {
            EXPECT_TRUE(Shown(id)) << "control " << id;
        }
        EXPECT_TRUE(Shown(c.resolutionShown));
        EXPECT_FALSE(Shown(c.resolutionHidden));
        EXPECT_EQ(c.maxLabel, Text(IDC_SI_MAX_RES));
        EXPECT_EQ(std::vector<int32_t>({1}), owner->states) << "the shown pane governs";
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(owner->GetHwnd(), IDC_OWNER_SEND)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(owner->GetHwnd(), IDOK)));
    }
}

TEST_F(ScanInitiatePaneTest, SidesFollowTheSourceAndTheServersDuplexKind) {
    TestPane& pane = Open("initiate-layout");
    EXPECT_EQ(std::vector<std::string>({"Single-Sided", "Top-Top", "Top-Bottom"}),
              Entries(IDC_SI_SIDES));
    EXPECT_TRUE(Enabled(IDC_SI_SIDES)) << "a duplex feeder without a source choice";
    for (const auto& [entry, layout] :
         std::vector<std::pair<std::string, std::string>>{{"Single-Sided", "SCAN_SINGLE_SIDE"},
                                                          {"Top-Top", "TOP_TOP"},
                                                          {"Top-Bottom", "TOP_BOTTOM"}}) {
        Choose(IDC_SI_SIDES, entry);
        EXPECT_EQ(layout, pane.GetDuplexLayout()) << entry;
        EXPECT_EQ(entry != "Single-Sided", pane.GetScanSides()) << entry;
    }

    TestPane& full = Open("initiate");
    EXPECT_EQ(std::vector<std::string>({"Platen", "ADF"}), Entries(IDC_SI_SOURCE));
    EXPECT_EQ("ADF", Chosen(IDC_SI_SOURCE)) << "the server's current source";
    EXPECT_EQ(std::vector<std::string>({"Single-Sided", "ONE_PASS", "TWO_PASS"}),
              Entries(IDC_SI_SIDES))
        << "the pass without a keyword is left out";
    Choose(IDC_SI_SIDES, "TWO_PASS");
    EXPECT_EQ("TWO_PASS", full.GetDuplexPass()) << "the server's entry, not the list position";
    Click(IDC_SI_ODD_PAGE);
    EXPECT_TRUE(Enabled(IDC_SI_BIND));
    EXPECT_TRUE(Checked(IDC_SI_ODD_PAGE));

    Choose(IDC_SI_SOURCE, "Platen");
    EXPECT_TRUE(full.GetScanSource());
    EXPECT_EQ("Single-Sided", Chosen(IDC_SI_SIDES));
    EXPECT_FALSE(Enabled(IDC_SI_SIDES));
    EXPECT_FALSE(Enabled(IDC_SI_ODD_PAGE));
    EXPECT_FALSE(Checked(IDC_SI_ODD_PAGE));
    EXPECT_FALSE(Enabled(IDC_SI_BIND));

    Choose(IDC_SI_SOURCE, "ADF");
    EXPECT_FALSE(full.GetScanSource());
    EXPECT_TRUE(Enabled(IDC_SI_SIDES));
}

TEST_F(ScanInitiatePaneTest, ColourModeDecidesImageModesBackgroundRemovalAndDropOut) {
    TestPane& pane = Open("initiate");
    EXPECT_EQ("COLOR", pane.GetColorMode());
    EXPECT_EQ(std::vector<std::string>({"TEXT", "PHOTO", "TEXT_PHOTO"}),
              Entries(IDC_SI_IMAGE_MODE));
    EXPECT_EQ("TEXT_PHOTO", Chosen(IDC_SI_IMAGE_MODE)) << "the server's current image mode";
    EXPECT_EQ(std::vector<std::string>({"LOW", "OFF", "Auto", "1"}), Entries(IDC_SI_BREMOVE));
    EXPECT_FALSE(Enabled(IDC_SI_DROP));

    Choose(IDC_SI_COLOR, "Black and White");
    EXPECT_EQ(std::vector<std::string>({"FS_TEXT_OCR", "TEXT", "PHOTO", "TEXT_PHOTO"}),
              Entries(IDC_SI_IMAGE_MODE));
    EXPECT_EQ(std::vector<std::string>({"OFF", "Auto", "On"}), Entries(IDC_SI_BREMOVE));
    EXPECT_EQ("TEXT_PHOTO", Chosen(IDC_SI_IMAGE_MODE)) << "the same server entry as before";
    EXPECT_EQ("OFF", Chosen(IDC_SI_BREMOVE));

    // Drop-out only for black and white text with OCR and no background removal; the colour
    // range only with a drop-out colour.
    Choose(IDC_SI_IMAGE_MODE, "FS_TEXT_OCR");
    EXPECT_TRUE(Enabled(IDC_SI_DROP));
    EXPECT_EQ("OFF", pane.GetDropOutColor());
    EXPECT_FALSE(Enabled(IDC_SI_RANGE));
    Choose(IDC_SI_DROP, "RED");
    EXPECT_TRUE(Enabled(IDC_SI_RANGE));
    EXPECT_TRUE(pane.IsColorRangeEnabled());
    Choose(IDC_SI_BREMOVE, "On");
    EXPECT_EQ("1", pane.GetBackgroundRemoval());
    EXPECT_FALSE(Enabled(IDC_SI_DROP));
    EXPECT_FALSE(Enabled(IDC_SI_RANGE));
    Choose(IDC_SI_BREMOVE, "OFF");
    EXPECT_TRUE(Enabled(IDC_SI_RANGE));

    // Back to colour: the entries chosen stay chosen where they are still offered.
    Choose(IDC_SI_IMAGE_MODE, "PHOTO");
    Choose(IDC_SI_BREMOVE, "Auto");
    Choose(IDC_SI_COLOR, "Color");
    EXPECT_EQ("PHOTO", pane.GetImageMode());
    EXPECT_EQ("AUTO", pane.GetBackgroundRemoval());
    EXPECT_FALSE(Enabled(IDC_SI_DROP));
    EXPECT_FALSE(Enabled(IDC_SI_RANGE));
}

TEST_F(ScanInitiatePaneTest, InternetFaxForcesItsSettingsAndItsResolutions) {
    TestPane& pane = Open("initiate", true);
    Choose(IDC_SI_COMPRESS, "HIGH");
    Choose(IDC_SI_ORIENT, "Landscape");
    const auto listOnly = [this] {
        return (GetWindowLongPtrA(Item(IDC_SI_RES_EDIT), GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
    };
    EXPECT_FALSE(listOnly());

    Click(IDC_SI_IFAX);
    EXPECT_TRUE(pane.GetInternetFax());
    EXPECT_EQ("BLACK_WHITE", pane.GetColorMode());
    EXPECT_EQ("PORTRAIT", pane.GetOrientation());
    EXPECT_EQ("STANDARD", pane.GetCompressLevel()) << "the server's current compression";
    EXPECT_EQ(std::vector<std::string>({"200", "400"}), Entries(IDC_SI_RES_EDIT));
    EXPECT_TRUE(listOnly());
    EXPECT_EQ("200", pane.GetResolution());
    for (int id : {IDC_SI_COLOR, IDC_SI_ORIENT, IDC_SI_COMPRESS}) {
        EXPECT_FALSE(Enabled(id)) << id;
    }
    EXPECT_TRUE(Shown(IDC_SI_RES_EDIT));

    Click(IDC_SI_IFAX);
    EXPECT_FALSE(pane.GetInternetFax());
    for (int id : {IDC_SI_COLOR, IDC_SI_ORIENT, IDC_SI_COMPRESS}) {
        EXPECT_TRUE(Enabled(id)) << id;
    }
    EXPECT_EQ("BLACK_WHITE", pane.GetColorMode()) << "the forced choices stay";
    EXPECT_EQ("PORTRAIT", pane.GetOrientation());
    EXPECT_FALSE(listOnly());
    EXPECT_EQ(6u, Entries(IDC_SI_RES_EDIT).size());
    EXPECT_EQ("200", pane.GetResolution()) << "the resolution in use when fax was left";
    EXPECT_NE(0, GetWindowLongPtrA(ResolutionEdit(), GWL_STYLE) & ES_NUMBER)
        << "the typed field takes digits again";
}

TEST_F(ScanInitiatePaneTest, TypedResolutionsStayBetweenOneAndTheMaximum) {
    TestPane& pane = Open("initiate");
    EXPECT_EQ("300", pane.GetResolution()) << "the server's current resolution";
    struct Case {
        const char* typed;
        const char* shown;
    };
    const Case cases[] = {
        {"450", "450"}, // any value in range is taken
        {"999", "450"}, // above 600: the last accepted value
        {"0", "450"},   // below 1: the last accepted value
        {"600", "600"}, {"1", "1"},
    };
    for (const Case& c : cases) {
        TypeResolution(c.typed);
        EXPECT_EQ(c.shown, ResolutionText()) << c.typed;
        EXPECT_EQ(c.shown, pane.GetResolution()) << c.typed;
    }
    TypeResolution("");
    Notify(IDC_SI_RES_EDIT, CBN_KILLFOCUS);
    EXPECT_EQ("1", ResolutionText()) << "an emptied field gets the last value back";
    Choose(IDC_SI_RES_EDIT, "500");
    EXPECT_EQ("500", pane.GetResolution());
}

TEST_F(ScanInitiatePaneTest, MixedSizesAndEraseBorderExcludeEachOther) {
    TestPane& pane = Open("initiate");
    EXPECT_EQ("A4.Transverse", pane.GetPageSize());
    EXPECT_FALSE(Enabled(IDC_SI_MIXED)) << "only an automatic page size may mix";
    Choose(IDC_SI_SIZE, "Auto");
    EXPECT_TRUE(Enabled(IDC_SI_MIXED));
    EXPECT_FALSE(Enabled(IDC_SI_BORDER_TOP));

    Click(IDC_SI_ERASE);
    EXPECT_TRUE(Enabled(IDC_SI_BORDER_TOP));
    Click(IDC_SI_MIXED);
    EXPECT_TRUE(Checked(IDC_SI_MIXED));
    EXPECT_FALSE(Checked(IDC_SI_ERASE));
    EXPECT_FALSE(Enabled(IDC_SI_BORDER_TOP));
    EXPECT_TRUE(pane.GetMixedPageSize());
    Click(IDC_SI_ERASE);
    EXPECT_TRUE(Checked(IDC_SI_ERASE));
    EXPECT_FALSE(Checked(IDC_SI_MIXED));
    EXPECT_FALSE(pane.GetMixedPageSize());

    Click(IDC_SI_MIXED);
    Choose(IDC_SI_SIZE, "A3");
    EXPECT_FALSE(Checked(IDC_SI_MIXED));
    EXPECT_FALSE(Enabled(IDC_SI_MIXED));

    // An emptied width gets the server's default back; the field takes two digits.
    TypeAndLeave(Item(IDC_SI_BORDER_RIGHT), IDC_SI_BORDER_RIGHT, EN_KILLFOCUS, "");
    EXPECT_EQ(pane.GetEraseSize(0), pane.GetEraseSize(1));
    EXPECT_FALSE(pane.GetEraseSize(1).empty());
    EXPECT_EQ(2, SendMessageA(Item(IDC_SI_BORDER_LEFT), EM_GETLIMITTEXT, 0, 0));
}

TEST_F(ScanInitiatePaneTest, SplitTimeoutOnlyForOnePageSplitAndItsSpinSkipsOneAndTwo) {
    TestPane& pane = Open("initiate");
    EXPECT_EQ(std::vector<std::string>({"Off", "1PAGE", "BOOK"}), Entries(IDC_SI_SPLIT));
    EXPECT_EQ("BOOK", Chosen(IDC_SI_SPLIT)) << "the server's current mode, past the gap";
    EXPECT_FALSE(Enabled(IDC_SI_TIMEOUT_EDIT));
    EXPECT_FALSE(pane.IsSplitTimeoutEnabled());
    Choose(IDC_SI_SPLIT, "Off");
    EXPECT_EQ(InitiateClient::kSplitModeOff, pane.GetSplitMode());
    Choose(IDC_SI_SPLIT, "1PAGE");
    EXPECT_EQ("1PAGE", pane.GetSplitMode());
    EXPECT_TRUE(Enabled(IDC_SI_TIMEOUT_EDIT));
    EXPECT_TRUE(Enabled(IDC_SI_TIMEOUT_SPIN));
    EXPECT_TRUE(Enabled(IDC_SI_TIMEOUT_LABEL));

    const HWND spin = Item(IDC_SI_TIMEOUT_SPIN);
    RECT box = {};
    GetClientRect(spin, &box);
    const auto press = [spin, &box](bool up) {
        const LPARAM at = MAKELPARAM(box.right / 2, up ? 1 : box.bottom - 2);
        SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(spin, WM_LBUTTONUP, 0, at);
        guitest::PumpPending();
    };
    struct Case {
        const char* from;
        bool up;
        const char* shown;
    };
    const Case cases[] = {
        {"0", true, "3"},  {"3", false, "0"}, {"999", true, "999"},
        {"0", false, "0"}, {"5", true, "6"},  {"5", false, "4"},
    };
    for (const Case& c : cases) {
        SetWindowTextA(Item(IDC_SI_TIMEOUT_EDIT), c.from);
        guitest::PumpPending();
        press(c.up);
        EXPECT_EQ(c.shown, Text(IDC_SI_TIMEOUT_EDIT)) << c.from << (c.up ? " up" : " down");
        EXPECT_EQ(c.shown, pane.GetSplitTimeout()) << c.from << (c.up ? " up" : " down");
    }

    // A typed 1 or 2 does not stay: the field falls back to 0 (the spin followed the text).
    for (const char* typed : {"1", "2"}) {
        TypeAndLeave(Item(IDC_SI_TIMEOUT_EDIT), IDC_SI_TIMEOUT_EDIT, EN_KILLFOCUS, typed);
        EXPECT_EQ("0", Text(IDC_SI_TIMEOUT_EDIT)) << typed;
        EXPECT_EQ("0", pane.GetSplitTimeout()) << typed;
    }
    TypeAndLeave(Item(IDC_SI_TIMEOUT_EDIT), IDC_SI_TIMEOUT_EDIT, EN_KILLFOCUS, "");
    EXPECT_EQ("0", Text(IDC_SI_TIMEOUT_EDIT)) << "an emptied field shows the position";
    TypeAndLeave(Item(IDC_SI_TIMEOUT_EDIT), IDC_SI_TIMEOUT_EDIT, EN_KILLFOCUS, "3");
    EXPECT_EQ("3", pane.GetSplitTimeout());
}

TEST_F(ScanInitiatePaneTest, ClosingStoresTheChoicesAndANewPaneRestoresThem) {
    TestPane& first = Open("initiate", true);
    Choose(IDC_SI_SOURCE, "Platen");
    Choose(IDC_SI_COLOR, "Grayscale");
    Choose(IDC_SI_SIZE, "A3");
    Choose(IDC_SI_SPLIT, "1PAGE");
    SetWindowTextA(Item(IDC_SI_TIMEOUT_EDIT), "45");
    Click(IDC_SI_ERASE);
    SetWindowTextA(Item(IDC_SI_BORDER_TOP), "7");
    SetWindowTextA(Item(IDC_SI_BORDER_LEFT), "");
    Click(IDC_SI_OCR);
    Click(IDC_SI_THIN);
    TypeResolution("250");
    Choose(IDC_SI_ROTATE, "0");
    EXPECT_EQ("0", first.GetImageRotate());
    CloseOwner();

    const std::vector<std::pair<const char*, const char*>> stored = {
        {"ScanSource", "Platen"},
        {"ScanSide", "Single-Sided"},
        {"ScanResolution", "250"},
        {"ScanPaperSize", "A3"},
        {"ScanColorMode", "Grayscale"},
        {"ScanOrientation", "Landscape"},
        {"ScanSplitMode", "1PAGE"},
        {"ScanSplitTimeout", "45"},
        {"ScanEraseBorder", "true"},
        {"ScanEraseBorderTop", "7"},
        {"ScanEraseBorderLeft", "<missing>"},
        {"ScanOCR", "true"},
        {"ScanThinPaper", "true"},
        {"ScanImageRotate", "0"},
        {"ScanSendToInternetFax", "false"},
        {"ScanDuplexOddPage", "false"},
    };
    for (const auto& [name, value] : stored) {
        EXPECT_EQ(value, Stored(name)) << name;
    }

    TestPane& second = Reopen(true);
    EXPECT_TRUE(second.GetScanSource());
    EXPECT_EQ("GRAYSCALE", second.GetColorMode());
    EXPECT_EQ("A3", second.GetPageSize());
    EXPECT_EQ("250", second.GetResolution());
    EXPECT_EQ("1PAGE", second.GetSplitMode());
    EXPECT_EQ("45", second.GetSplitTimeout());
    EXPECT_TRUE(second.GetEraseBorder());
    EXPECT_EQ("7", second.GetEraseSize(0));
    EXPECT_TRUE(second.GetOcr());
    EXPECT_TRUE(second.GetThinMedia());
    EXPECT_EQ("0", second.GetImageRotate());
}

TEST_F(ScanInitiatePaneTest, AHiddenSettingStoresNothingChosenAndTheNextFillTakesTheDefault) {
    Open("initiate");
    Choose(IDC_SI_ORIENT, "Portrait");
    CloseOwner();
    EXPECT_EQ("Portrait", Stored("ScanOrientation"));

    Open("initiate-layout");
    EXPECT_FALSE(Shown(IDC_SI_ORIENT));
    CloseOwner();
    EXPECT_EQ("", Stored("ScanOrientation"));

    TestPane& pane = Open("initiate");
    EXPECT_EQ("LANDSCAPE", pane.GetOrientation()) << "the server's current orientation";
}

TEST_F(ScanInitiatePaneTest, ARefreshWaitsUntilThePaneIsShownAgain) {
    TestPane& pane = Open("initiate", false, true);
    EXPECT_EQ(nullptr, pane.GetHwnd()) << "made on its first selection";
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(owner->GetHwnd(), IDOK)));
    owner->SelectPane(1);
    EXPECT_EQ(std::vector<int32_t>({1}), owner->states);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(owner->GetHwnd(), IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(owner->GetHwnd(), IDC_OWNER_SEND)));
    EXPECT_EQ("COLOR", pane.GetColorMode());

    owner->SelectPane(0);
    preferences.SetScanColorMode("Grayscale");
    pane.RefreshSettings();
    EXPECT_EQ("COLOR", pane.GetColorMode()) << "not refilled while hidden";
    owner->SelectPane(1);
    EXPECT_EQ("GRAYSCALE", pane.GetColorMode());

    preferences.SetScanColorMode("Black and White");
    pane.RefreshSettings();
    EXPECT_EQ("BLACK_WHITE", pane.GetColorMode()) << "the shown pane refills at once";
}

TEST_F(ScanInitiatePaneTest, TheMediatorWritesTheJobFromThePanesChoices) {
    TestPane& pane = Open("initiate", true);
    Choose(IDC_SI_SIDES, "TWO_PASS");
    Choose(IDC_SI_BIND, "TOP");
    Choose(IDC_SI_COLOR, "Black and White");
    Choose(IDC_SI_IMAGE_MODE, "FS_TEXT_OCR");
    Choose(IDC_SI_DROP, "GREEN");
    Choose(IDC_SI_RANGE, "NARROW");
    Choose(IDC_SI_SPLIT, "1PAGE");
    SetWindowTextA(Item(IDC_SI_TIMEOUT_EDIT), "30");
    Click(IDC_SI_ERASE);
    SetWindowTextA(Item(IDC_SI_BORDER_BOTTOM), "12");
    Choose(IDC_SI_SHARP, "1");
    pane.GetInitiateMediator()->ApplyAll();

    const ScanAttributeMap job = ExportedAttributes(*m_job);
    const ScanAttributeMap expected = {
        {"SCAN_SOURCE", "ADF"},        {"SCAN_DOUBLE_SIDE", "YES"},  {"DUPLEX_PASS", "TWO_PASS"},
        {"BIND_DIRECTION", "TOP"},     {"RAW_X_RES", "300"},         {"PAGESIZE", "A4.Transverse"},
        {"COLOR_MODE", "BLACK_WHITE"}, {"ORIENTATION", "LANDSCAPE"}, {"COMPRESS_LEVEL", "STANDARD"},
        {"COMPRESSION", "GROUP4"},     {"BREMOVE", "OFF"},           {"IMAGE_MODE", "FS_TEXT_OCR"},
        {"MKEMFAXABLE", "NO"},         {"DROP_COLOR", "GREEN"},      {"DROP_RANGE", "NARROW"},
        {"SPLIT_ORIG", "YES"},         {"SPLIT_MODE", "1PAGE"},      {"SM_1PAGE_TO", "30"},
        {"ERASE_MODE", "CUSTOM"},      {"ERASE_SIZE_BOTTOM", "12"},  {"SCAN_OCR", "NO"},
        {"SHARPNESS_LEVEL", "1"},      {"IMAGE_ROTATE", "90"},
    };
    for (const auto& [key, value] : expected) {
        const auto found = job.find(key);
        ASSERT_NE(job.end(), found) << key;
        EXPECT_EQ(value, found->second) << key;
    }
    EXPECT_EQ(0u, job.count("DUPLEX_LAYOUT")) << "the pass, not a layout";
}

TEST_F(ScanInitiatePaneTest, PicturesInEnglishAndGerman) {
    for (const auto& [language, suffix] :
         std::vector<std::pair<int, const char*>>{{0, "en"}, {4, "de"}}) {
        ResourceLoader::Instance()->SetLanguageIndex(language);
        Open("initiate", true);
        std::string error;
        EXPECT_TRUE(guitest::SaveScreenshot(
            owner->GetHwnd(), std::string("GuiScanInitiateDialog.") + suffix + ".png", &error))
            << error;
        CloseOwner();
    }
}

TEST_F(ScanInitiatePaneTest, PictureInTheCodePagesLanguage) {
    const guitest::CodePageLanguage language = guitest::LanguageOfCodePage();
    ASSERT_EQ("", language.missingLocale) << "not generated on this machine";
    if (language.index < 0) {
        GTEST_SKIP() << "Japanese and Chinese texts need their code page";
    }
    ResourceLoader* const loader = ResourceLoader::Instance();
    loader->SetLanguageIndex(language.index);
    Open("initiate", true);
    const std::wstring label = guitest::TemplateText(loader->GetModule(), IDD_SCAN_INITIATE,
                                                     language.langId, IDC_SI_RES_LABEL);
    EXPECT_FALSE(label.empty());
    EXPECT_EQ(label, guitest::WideControlText(owner->pane->GetHwnd(), IDC_SI_RES_LABEL));
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(owner->GetHwnd(),
                                        "GuiScanInitiateDialog." + language.code + ".png", &error))
        << error;
}

} // namespace
