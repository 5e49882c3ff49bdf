#pragma once
// Base of every window of the data source: a dialog built from the template of the interface
// language, run modeless (Create; the host's message loop serves it) or modal (DoModal, with a
// loop of its own), and always deleted through Close. Messages reach the virtual handlers
// below. A dialog without a parent window is the user-interface handler's current window
// while it lives, unless it runs on a thread of its own; a modeless child ends with EndDialog,
// which asks its owner to end it.

#include "UiMessages.h"
#include "UiWindowIntf.h"

#include <windows.h>
// windows.h maps these to their A/W variants; every unit must see the plain method names.
#undef IsDialogMessage
#undef LoadString

#include <cstdint>
#include <memory>
#include <string>

class DataArg_UserInterface;
class SetFontHelper;

class GuiWindowsDialog : public virtual UiWindowIntf {
public:
    // The password field of every dialog: it shows '*' for each character.
    static constexpr int kPasswordFieldId = 1653;
    // The banner drawn at the top of a dialog, by which the dialog is dragged.
    static constexpr int kBannerBitmapId = 204;

    // Creates no window: that is Create's work.
    GuiWindowsDialog(int dialogId, GuiWindowsDialog* owner, HWND parent);
    ~GuiWindowsDialog() override;

    // Builds the window; throws TwainException (TWCC_BUMMER) when the template is missing or
    // the window cannot be made.
    virtual void Create();
    // Creates, runs its own loop until EndDialog, deletes the object and returns EndDialog's
    // value (0 when the loop ended on WM_QUIT). The object is deleted also when Create throws.
    virtual int DoModal();
    // Deletes the object (which destroys the window); dialogs release their own members first.
    void Close() override;
    // The process-wide user-interface handler; null while no source is open.
    virtual DataArg_UserInterface* GetUserInterface() const;
    virtual std::string LoadString(int stringId) const;

    virtual INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNotify(WPARAM wParam, NMHDR* header);
    // Gives a Japanese interface its Shift-JIS font.
    virtual bool OnInitDialog();
    virtual void OnCommand(int controlId, int notifyCode, HWND control);
    virtual void OnEnterIdle();
    // A modeless child asks to end: the base hides and deletes the stored child dialog.
    virtual void OnCloseRequest(int dialogId, int result);
    virtual void OnDestroy();
    virtual void OnPaint();
    virtual HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    // A click in the banner drags the dialog.
    virtual int OnLButtonDown(int x, int y, WPARAM keys);
    virtual void PaintBanner(HDC dc);
    // Modal: ends the loop with the result. Modeless: sends the owner the close request with
    // this dialog's id and the result.
    virtual void EndDialog(int result);
    void Activate() override;
    void Deactivate() override;
    virtual void ShowAndActivate();
    virtual void Hide();
    void Update() override;
    // Over the dialog's window, or the desktop when null.
    virtual void CenterOver(GuiWindowsDialog* over);
    virtual void CenterWindow(HWND over);
    bool IsDialogMessage(MSG* message) override;
    virtual void DrawBitmap(HDC dc, int x, int y, int bitmapId);
    virtual void StretchBitmap(HDC dc, const RECT* target, int bitmapId);
    HWND GetHwnd() const override;
    virtual GuiWindowsDialog* GetOwner() const;
    virtual bool IsEnabled() const;
    virtual void Enable(bool enable);
    virtual void Show(bool show);
    virtual bool IsVisible() const;
    virtual void GetSize(int* width, int* height) const;
    virtual void SetSize(int cx, int cy);
    virtual void SetActive();
    virtual HWND GetItem(int controlId) const;

    // Per control: the form by id looks the control up, the form by handle does the work.
    virtual bool IsItemEnabled(int controlId) const;
    virtual bool IsControlEnabled(HWND control) const;
    virtual void EnableItem(int controlId, bool enable);
    virtual void EnableControl(HWND control, bool enable);
    virtual bool IsItemVisible(int controlId) const;
    virtual bool IsControlVisible(HWND control) const;
    virtual void ShowItem(int controlId, bool show);
    virtual void ShowControl(HWND control, bool show);
    virtual std::string GetItemText(int controlId) const;
    virtual std::string GetControlText(HWND control) const;
    virtual void SetItemText(int controlId, const std::string& text);
    virtual void SetControlText(HWND control, const std::string& text);
    virtual std::string GetEditText(int controlId) const;
    virtual std::string ForwardGetControlText(HWND control) const;
    virtual void SetEditText(int controlId, const std::string& text);
    virtual void ForwardSetControlText(HWND control, const std::string& text);
    virtual std::string GetButtonText(int controlId) const;
    virtual void SetButtonText(int controlId, const std::string& text);
    virtual bool IsItemChecked(int controlId) const;
    virtual bool IsControlChecked(HWND control) const;
    virtual void CheckItem(int controlId, bool check);
    virtual void CheckControl(HWND control, bool check);
    virtual void ToggleItemCheck(int controlId);
    virtual void ToggleControlCheck(HWND control);
    // In the dialog's client coordinates.
    virtual RECT GetItemRect(int controlId) const;
    virtual RECT GetControlRect(HWND control) const;
    virtual void MoveItem(int controlId, int x, int y);
    virtual void MoveControl(HWND control, int x, int y);
    virtual void SizeItem(int controlId, int cx, int cy);
    virtual void SizeControl(HWND control, int cx, int cy);

    // Yes/No with the exclamation icon; system-modal in a host whose product name contains
    // "PaperPort". True on Yes.
    virtual bool AskYesNo(const std::string& text);
    virtual void SetTitle(const std::string& title);
    // Every control from the first to the last in the dialog's child order (the walk stops at
    // the end of the list when the last is missing).
    virtual void ShowItemRange(int firstId, int lastId, bool show);
    // Moves the controls first..last up so that the first takes the anchor's top, then
    // shrinks the dialog by the same distance.
    virtual void ShiftItemsUp(int anchorId, int firstId, int lastId);
    // -1 for a negative index, count - 1 for one at or beyond count.
    virtual int ClampIndex(int count, int index) const;
    // True when the message was handled and is not to be dispatched.
    virtual bool PreTranslateMessage(MSG* message);
    virtual bool FilterDialogMessage(MSG* message);

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Waits for the handle while dispatching the thread's messages; ends also when the wait
    // fails. Returns 0.
    static int WaitWithMessages(HANDLE handle);
    // One pass of a message loop; false on WM_QUIT.
    bool RunMessageLoop();

    int GetDialogId() const { return m_dialogId; }
    int GetBannerHeight() const { return m_bannerHeight; }
    GuiWindowsDialog* GetChildDialog() const { return m_childDialog; }

protected:
    // Takes ownership of a modeless child; an earlier child is deleted.
    void SetChildDialog(GuiWindowsDialog* child);
    // Shows a modeless child: an earlier child is deleted, the new one's window is made, and
    // only then is the child kept. A child whose window cannot be made is closed and the
    // error passed on.
    void OpenChildDialog(std::unique_ptr<GuiWindowsDialog> child);
    // Cleared when the dialog is deleted. Whatever runs a message loop (a pump, a modal box, a
    // switch of windows) may end in the dialog's deletion: a caller keeps the flag and looks
    // at it before it touches the dialog again.
    std::shared_ptr<const bool> GetAliveFlag() const { return m_alive; }
    void SetTopLevel(bool topLevel) { m_topLevel = topLevel; }
    // A window on a thread of its own never becomes the handler's current window: that is
    // set and read on the handler's thread alone.
    void SetOnOwnThread() { m_onOwnThread = true; }
    bool IsTopLevel() const { return m_topLevel; }
    HWND GetParentWindow() const { return m_parent; }

private:
    static constexpr uint32_t kModal = 1;
    static constexpr uint32_t kRunning = 2;

    uint32_t m_modalState = 0;
    int m_result = 0;
    MSG m_message = {};
    HWND m_window = nullptr;
    GuiWindowsDialog* m_owner;
    // The owner's alive flag; null without an owner.
    std::shared_ptr<const bool> m_ownerAlive;
    HWND m_parent;
    int m_dialogId;
    int m_bannerHeight = 0;
    bool m_topLevel = true;
    bool m_onOwnThread = false;
    // Owned: deleted by OnCloseRequest and by the destructor.
    GuiWindowsDialog* m_childDialog = nullptr;
    std::unique_ptr<SetFontHelper> m_fontHelper;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
