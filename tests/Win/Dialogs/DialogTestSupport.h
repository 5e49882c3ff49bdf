#pragma once
// Shared pieces of the dialog tests: the source running in this program with the real
// windows, and an owner window that records the close requests of its modeless children.

#include "GuiSourceFixture.h"
#include "GuiTestSupport.h"
#include "GuiWindowsDialog.h"
#include "ServerList.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

inline ServerList StoredServerList() {
    CommonCpp::XGPreferences store("Halcyra", "Nimbrel", "5",
                                   CommonCpp::XGPreferences::ScopeCurrentUser);
    ServerList servers;
    servers.Load(store);
    return servers;
}

// A window that owns modeless children as the acquire window or the send dialog would, and
// notes each close request; inspect() sees the child before the framework deletes it.
class OwnerWindow : public GuiWindowsDialog {
public:
    struct CloseRequest {
        int dialogId;
        int result;
    };

    explicit OwnerWindow(int templateId) : GuiWindowsDialog(templateId, nullptr, nullptr) {}

    void Adopt(GuiWindowsDialog* child) { SetChildDialog(child); }
    void OnCloseRequest(int dialogId, int result) override {
        requests.push_back({dialogId, result});
        if (inspect && GetChildDialog() != nullptr) {
            inspect(GetChildDialog());
        }
        GuiWindowsDialog::OnCloseRequest(dialogId, result);
    }
    void PaintBanner(HDC) override {}

    std::vector<CloseRequest> requests;
    std::function<void(GuiWindowsDialog*)> inspect;
};

// Deletes the owner (and with it a child still open) when the test ends.
struct OwnerCloser {
    OwnerWindow* owner;
    ~OwnerCloser() { owner->Close(); }
};

class DialogTest : public GuiSourceFixture {
protected:
    static void Shoot(HWND window, const std::string& name) {
        std::string error;
        EXPECT_TRUE(guitest::SaveScreenshot(window, name, &error)) << error;
    }
};

// Text typed at the caret, as a user types: the field's limit applies.
inline void TypeAtCaret(HWND dialog, int controlId, const std::string& text) {
    SendDlgItemMessageA(dialog, controlId, EM_REPLACESEL, TRUE,
                        reinterpret_cast<LPARAM>(text.c_str()));
}

inline int ListRows(HWND dialog, int listId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, listId, LVM_GETITEMCOUNT, 0, 0));
}

inline int SelectedRow(HWND dialog, int listId) {
    return static_cast<int>(SendDlgItemMessageA(dialog, listId, LVM_GETNEXTITEM,
                                                static_cast<WPARAM>(-1), LVNI_SELECTED));
}

inline std::string CellText(HWND dialog, int listId, int row, int column) {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    SendDlgItemMessageA(dialog, listId, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
    return text;
}

// A click on a row, as the list view reports it to its dialog.
inline void SelectRow(HWND dialog, int listId, int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendDlgItemMessageA(dialog, listId, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
    NMITEMACTIVATE click = {};
    click.hdr.hwndFrom = GetDlgItem(dialog, listId);
    click.hdr.idFrom = static_cast<UINT_PTR>(listId);
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    SendMessageA(dialog, WM_NOTIFY, static_cast<WPARAM>(listId), reinterpret_cast<LPARAM>(&click));
}

inline bool IsItemEnabled(HWND dialog, int controlId) {
    return IsWindowEnabled(GetDlgItem(dialog, controlId)) != FALSE;
}
