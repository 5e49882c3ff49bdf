#pragma once
// The server chooser: the user keeps the list of known servers on a private copy and picks
// the one the source connects to. Modal while a source opens and finds no server (its result
// is the run's value); modeless from the acquire window, which it hands back to, or else asks
// the application to close the source.

#include "ChooserWindowIntf.h"
#include "EditCtrl.h"
#include "GuiWindowsDialog.h"
#include "ListCtrl.h"
#include "TabCtrl.h"

#include <memory>

class ServerInfo;
class ServerList;

class GuiChooserDialog : public GuiWindowsDialog, public ChooserWindowIntf {
public:
    // Two copies of servers are taken: the one the user edits, and the one the source gets
    // back after a failed connection. The caller keeps its list.
    GuiChooserDialog(const ServerList& servers, GuiWindowsDialog* owner, bool modal);
    ~GuiChooserDialog() override;

    void Show() override;
    int RunModal() override;
    void Close() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, NMHDR* header) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;

    virtual void DrawAddButtonFocus(HWND item, const DRAWITEMSTRUCT* draw);
    virtual LRESULT OnListNotify(NMHDR* header);
    virtual void OnListDoubleClick(int item);
    virtual void OnListKeyDown(WORD key);
    virtual void UpdateButtons();
    virtual void OnListClick(int item);
    virtual void OnOk();
    virtual void OnCancel();
    virtual void AddOrModifyServer();
    virtual void CopySelectedServer();
    virtual void ToggleModifyMode();
    virtual void OnRemove();
    virtual void CheckServerResponds();
    virtual void RemoveSelectedServer();
    virtual void RefreshServerList();
    virtual void AddConfigurationTab();
    virtual void SetupListColumns();

    // The list the user edits.
    const ServerList& GetWorkingList() const { return *m_workingList; }

private:
    void DetachControls();

    TabCtrl m_tab;
    EditCtrl m_serverName;
    EditCtrl m_nickname;
    EditCtrl m_device;
    ListCtrl m_list;
    std::unique_ptr<ServerList> m_savedCopy;
    std::unique_ptr<ServerList> m_workingList;
    int m_rememberedRow = -1;
    // Into the working list while the Modify button reads "Cancel Modify".
    ServerInfo* m_modifyEntry = nullptr;
    bool m_modal;
};
