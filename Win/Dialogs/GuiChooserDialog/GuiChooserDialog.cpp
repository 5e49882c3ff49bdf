#include "GuiChooserDialog.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "Exception.h"
#include "GuiChooserDialog_rc.h"
#include "HostTopmost.h"
#include "ServerInfo.h"
#include "ServerList.h"
#include "StringTable_rc.h"

#include <commctrl.h>

namespace {

constexpr DWORD kListExtendedStyle = LVS_EX_FULLROWSELECT | LVS_EX_ONECLICKACTIVATE;
constexpr int kNicknameLimit = 255;

} // namespace

GuiChooserDialog::GuiChooserDialog(const ServerList& servers, GuiWindowsDialog* owner, bool modal)
    : GuiWindowsDialog(IDD_CHOOSER, owner, nullptr), m_modal(modal) {
    try {
        m_savedCopy = servers.Clone();
        m_workingList = servers.Clone();
        m_rememberedRow = m_workingList->GetSelectedIndex();
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        throw;
    }
}

GuiChooserDialog::~GuiChooserDialog() = default;

void GuiChooserDialog::Show() {
    Create();
}

int GuiChooserDialog::RunModal() {
    return DoModal();
}

void GuiChooserDialog::Close() {
    DetachControls();
    GuiWindowsDialog::Close();
}

void GuiChooserDialog::DetachControls() {
    if (m_tab.GetHandle() != nullptr) {
        SendMessageA(m_tab.GetHandle(), TCM_DELETEALLITEMS, 0, 0);
        m_tab.SetHandle(nullptr);
    }
    m_serverName.Detach();
    m_nickname.Detach();
    m_device.Detach();
}

INT_PTR GuiChooserDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* const draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == IDC_CHOOSER_ADD && draw != nullptr && draw->CtlType != ODT_MENU) {
            DrawAddButtonFocus(draw->hwndItem, draw);
        }
        return 1;
    }
    return GuiWindowsDialog::WindowProc(message, wParam, lParam);
}

LRESULT GuiChooserDialog::OnNotify(WPARAM, NMHDR* header) {
    if (header != nullptr && header->hwndFrom == m_list.GetHandle() && header->hwndFrom) {
        OnListNotify(header);
        return 1;
    }
    return 0;
}

bool GuiChooserDialog::OnInitDialog() {
    if (!GuiWindowsDialog::OnInitDialog()) {
        return false;
    }
    AddConfigurationTab();
    ApplyHostTopmostRule(GetHwnd());
    SetupListColumns();
    m_serverName.SetHandle(GetItem(IDC_CHOOSER_SERVER_NAME));
    m_nickname.SetHandle(GetItem(IDC_CHOOSER_NICKNAME));
    m_device.SetHandle(GetItem(IDC_CHOOSER_DEVICE));
    m_nickname.LimitText(kNicknameLimit);
    m_serverName.Attach(EditCtrl::kSingleLine);
    m_nickname.Attach(EditCtrl::kSingleLine);
    m_device.Attach(EditCtrl::kSingleLine);
    RefreshServerList();
    UpdateButtons();
    return true;
}

void GuiChooserDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    switch (controlId) {
    case IDOK:
        if (notifyCode == BN_CLICKED) {
            const HWND add = GetItem(IDC_CHOOSER_ADD);
            if (add != nullptr && GetFocus() == add) {
                // Enter on the Add button adds rather than confirms.
                PostMessageA(GetHwnd(), WM_COMMAND, MAKEWPARAM(IDC_CHOOSER_ADD, BN_CLICKED),
                             reinterpret_cast<LPARAM>(add));
                return;
            }
            // OK may end in a switch of windows that deletes this dialog.
            const std::shared_ptr<const bool> alive = GetAliveFlag();
            Enable(false);
            OnOk();
            // A dialog left open after the attempt must take input again.
            if (*alive) {
                Enable(true);
            }
        }
        return;
    case IDCANCEL:
        if (notifyCode == BN_CLICKED) {
            OnCancel();
        }
        return;
    case IDC_CHOOSER_USE_NICKNAME:
        if (notifyCode == BN_CLICKED) {
            UpdateButtons();
        }
        return;
    case IDC_CHOOSER_SERVER_NAME:
    case IDC_CHOOSER_NICKNAME:
    case IDC_CHOOSER_DEVICE:
        if (notifyCode == EN_CHANGE) {
            UpdateButtons();
        }
        return;
    case IDC_CHOOSER_ADD:
        if (notifyCode == BN_CLICKED) {
            AddOrModifyServer();
            SetFocus(GetItem(IDOK));
        }
        return;
    case IDC_CHOOSER_COPY:
        if (notifyCode == BN_CLICKED) {
            CopySelectedServer();
        }
        return;
    case IDC_CHOOSER_MODIFY:
        if (notifyCode == BN_CLICKED) {
            ToggleModifyMode();
        }
        return;
    case IDC_CHOOSER_REMOVE:
        if (notifyCode == BN_CLICKED) {
            OnRemove();
        }
        return;
    default:
        GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
    }
}

void GuiChooserDialog::DrawAddButtonFocus(HWND item, const DRAWITEMSTRUCT* draw) {
    if (draw == nullptr || item != GetItem(IDC_CHOOSER_ADD)) {
        return;
    }
    const HDC dc = draw->hDC;
    const int saved = SaveDC(dc);
    RECT rect = draw->rcItem;
    IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    int bitmapId = IDB_ADD_NORMAL;
    if ((draw->itemState & (ODS_SELECTED | ODS_CHECKED)) != 0) {
        bitmapId = IDB_ADD_PRESSED;
    } else if ((draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0) {
        bitmapId = IDB_ADD_DISABLED;
    }
    StretchBitmap(dc, &rect, bitmapId);
    if ((draw->itemState & ODS_FOCUS) != 0) {
        InflateRect(&rect, -10, -6);
        DrawFocusRect(dc, &rect);
    }
    RestoreDC(dc, saved);
}

LRESULT GuiChooserDialog::OnListNotify(NMHDR* header) {
    switch (header->code) {
    case NM_CLICK:
        OnListClick(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        break;
    case NM_DBLCLK:
        OnListDoubleClick(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
        break;
    case LVN_KEYDOWN:
        OnListKeyDown(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
        break;
    default:
        break;
    }
    return 1;
}

void GuiChooserDialog::OnListClick(int item) {
    if (item >= 0) {
        m_rememberedRow = item;
    } else if (m_rememberedRow >= 0) {
        // A click beside the rows keeps the choice.
        m_list.SelectItem(m_rememberedRow, false);
    }
    UpdateButtons();
}

void GuiChooserDialog::OnListDoubleClick(int item) {
    if (item >= 0) {
        m_rememberedRow = item;
        OnOk();
    } else if (m_rememberedRow >= 0) {
        m_list.SelectItem(m_rememberedRow, false);
    }
}

void GuiChooserDialog::OnListKeyDown(WORD key) {
    switch (key) {
    case VK_DELETE:
        OnRemove();
        break;
    case VK_RETURN:
        m_rememberedRow = m_list.GetSelectedItem();
        OnOk();
        break;
    case VK_UP:
    case VK_DOWN:
        m_rememberedRow = m_list.GetNextIndex(m_list.GetSelectedItem(), key == VK_UP);
        break;
    default:
        break;
    }
}

void GuiChooserDialog::UpdateButtons() {
    const bool useNickname = IsItemChecked(IDC_CHOOSER_USE_NICKNAME);
    m_nickname.Enable(useNickname);
    const bool canAdd = !m_serverName.GetText().empty() && !m_device.GetText().empty() &&
                        (!useNickname || !m_nickname.GetText().empty());
    EnableItem(IDC_CHOOSER_ADD, canAdd);
    const bool selected = m_list.GetSelectedItem() >= 0;
    for (const int id : {IDC_CHOOSER_COPY, IDC_CHOOSER_MODIFY, IDC_CHOOSER_REMOVE, IDOK}) {
        EnableItem(id, selected);
    }
}

void GuiChooserDialog::OnOk() {
    DataArg_UserInterface* const ui = GetUserInterface();
    AbstractSource* const source = AbstractSource::Instance();
    if (ui == nullptr || source == nullptr) {
        return;
    }
    if (m_modal) {
        CheckServerResponds();
        if (!ui->GetUiStateFlag()) {
            EndDialog(2);
        } else if (source->IsConnected()) {
            EndDialog(1);
        }
        return;
    }
    if (m_list.GetItemCount() > 0) {
        CheckServerResponds();
        return;
    }
    source->SetServerList(*m_workingList);
    ui->NotifyCloseRequest();
}

void GuiChooserDialog::OnCancel() {
    if (m_modal) {
        EndDialog(2);
        return;
    }
    DataArg_UserInterface* const ui = GetUserInterface();
    AbstractSource* const source = AbstractSource::Instance();
    if (ui == nullptr || source == nullptr) {
        return;
    }
    if (source->Connect(false)) {
        ui->SwitchToAcquireJobsDialog();
        return;
    }
    GuiWindowsDialog::Show(false);
    ui->NotifyCloseRequest();
}

void GuiChooserDialog::AddOrModifyServer() {
    const std::string address = m_serverName.GetText();
    const std::string nickname = m_nickname.GetText();
    const std::string device = m_device.GetText();
    const bool showNickname = IsItemChecked(IDC_CHOOSER_USE_NICKNAME);
    m_serverName.SetText("");
    m_nickname.SetText("");
    m_device.SetText("");
    CheckItem(IDC_CHOOSER_USE_NICKNAME, false);
    if (m_modifyEntry != nullptr) {
        m_modifyEntry->ipAddress = address;
        m_modifyEntry->nickname = nickname;
        m_modifyEntry->deviceName = device;
        m_modifyEntry->showNickname = showNickname;
        m_modifyEntry = nullptr;
        RefreshServerList();
        SetButtonText(IDC_CHOOSER_MODIFY, LoadString(IDS_MODIFY));
    } else {
        // A failed connection to an entry the user typed is reported to the user.
        const int index =
            m_workingList->Add(new ServerInfo(showNickname, device, address, nickname, true));
        RefreshServerList();
        m_list.SelectItem(index, false);
    }
    UpdateButtons();
}

void GuiChooserDialog::CopySelectedServer() {
    const int row = m_list.GetSelectedItem();
    if (row < 0) {
        return;
    }
    m_workingList->SetSelectedIndex(static_cast<int>(m_list.GetItem(row)));
    const ServerInfo* const entry = m_workingList->GetSelected();
    if (entry == nullptr) {
        return;
    }
    const int index = m_workingList->Add(new ServerInfo(*entry));
    RefreshServerList();
    m_list.SelectItem(index, false);
}

void GuiChooserDialog::ToggleModifyMode() {
    if (m_modifyEntry != nullptr) {
        m_modifyEntry = nullptr;
        m_serverName.SetText("");
        m_device.SetText("");
        m_nickname.SetText("");
        CheckItem(IDC_CHOOSER_USE_NICKNAME, false);
        SetButtonText(IDC_CHOOSER_MODIFY, LoadString(IDS_MODIFY));
    } else {
        const int row = m_list.GetSelectedItem();
        if (row >= 0) {
            m_workingList->SetSelectedIndex(static_cast<int>(m_list.GetItem(row)));
            m_modifyEntry = m_workingList->GetSelected();
            if (m_modifyEntry != nullptr) {
                m_serverName.SetText(m_modifyEntry->ipAddress);
                m_nickname.SetText(m_modifyEntry->nickname);
                m_device.SetText(m_modifyEntry->deviceName);
                CheckItem(IDC_CHOOSER_USE_NICKNAME, m_modifyEntry->showNickname);
                SetButtonText(IDC_CHOOSER_MODIFY, LoadString(IDS_CANCEL_MODIFY));
            }
        }
    }
    UpdateButtons();
}

void GuiChooserDialog::OnRemove() {
    RemoveSelectedServer();
    UpdateButtons();
}

void GuiChooserDialog::CheckServerResponds() {
    const int row = m_list.GetSelectedItem();
    DataArg_UserInterface* const ui = GetUserInterface();
    AbstractSource* const source = AbstractSource::Instance();
    if (row < 0 || ui == nullptr || source == nullptr) {
        return;
    }
    source->Disconnect();
    m_workingList->SetSelectedIndex(static_cast<int>(m_list.GetItem(row)));
    source->SetServerList(*m_workingList);
    if (source->Connect(true)) {
        source->SaveServerList();
        if (!m_modal) {
            // Deletes this dialog.
            ui->SwitchToAcquireJobsDialog();
        }
        return;
    }
    if (ui->GetUiStateFlag()) {
        // The user cancelled the log-in: nothing to report.
        return;
    }
    ui->ShowErrorMessage(IDS_SERVER_NOT_RESPONDING);
    if (m_savedCopy) {
        source->SetServerList(*m_savedCopy);
        m_savedCopy.reset();
    }
    if (m_modal) {
        return;
    }
    if (source->GetServerList().GetSelected() != nullptr && source->Connect(true)) {
        ui->SwitchToAcquireJobsDialog();
        return;
    }
    ui->ShowErrorMessage(IDS_SERVER_NOT_RESPONDING);
    ui->NotifyCloseRequest();
}

void GuiChooserDialog::RemoveSelectedServer() {
    m_rememberedRow = m_list.GetSelectedItem();
    if (m_rememberedRow < 0) {
        return;
    }
    m_workingList->SetSelectedIndex(static_cast<int>(m_list.GetItem(m_rememberedRow)));
    if (m_modifyEntry != nullptr && m_modifyEntry == m_workingList->GetSelected()) {
        m_modifyEntry = nullptr;
        SetButtonText(IDC_CHOOSER_MODIFY, LoadString(IDS_MODIFY));
    }
    m_workingList->RemoveAt(m_workingList->GetSelectedIndex());
    RefreshServerList();
    m_rememberedRow = ClampIndex(m_list.GetItemCount(), m_rememberedRow);
    m_list.SelectItem(m_rememberedRow, false);
}

void GuiChooserDialog::RefreshServerList() {
    m_list.DeleteAllItems();
    const int count = m_workingList->GetSize();
    m_list.SetRedraw(false);
    m_list.SetItemCount(count);
    for (int i = 0; i < count; ++i) {
        const ServerInfo* const entry = m_workingList->GetAt(i);
        if (entry == nullptr) {
            continue;
        }
        const int row = m_list.InsertItem(i, entry->ipAddress);
        m_list.SetItem(row, i);
        m_list.SetItemText(row, 1, entry->nickname);
        m_list.SetItemText(row, 2, entry->deviceName);
    }
    const int selected = m_workingList->GetSelectedIndex();
    if (count > 0 && selected >= 0 && selected < count) {
        m_list.SelectItem(selected, false);
    }
    m_list.SetRedraw(true);
}

void GuiChooserDialog::AddConfigurationTab() {
    m_tab.SetHandle(GetItem(IDC_CHOOSER_TAB));
    SendMessageA(m_tab.GetHandle(), TCM_DELETEALLITEMS, 0, 0);
    m_tab.AddTab(LoadString(IDS_CONFIGURATION));
}

void GuiChooserDialog::SetupListColumns() {
    m_list.SetHandle(GetItem(IDC_CHOOSER_LIST));
    m_list.SetExtendedStyle(kListExtendedStyle);
    m_list.InsertColumn(0, LoadString(IDS_COLUMN_NAME), 125, LVCFMT_LEFT);
    m_list.InsertColumn(1, LoadString(IDS_COLUMN_NICKNAME), 125, LVCFMT_LEFT);
    m_list.InsertColumn(2, LoadString(IDS_COLUMN_DEVICE), 105, LVCFMT_LEFT);
}
