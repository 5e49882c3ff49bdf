#include "GuiWindowsDialog.h"

#include "AbstractSource.h"
#include "DataArg_UserInterface.h"
#include "Exception.h"
#include "GdiObject.h"
#include "MemoryDC.h"
#include "ResourceLoader.h"
#include "SetFontHelper.h"
#include "StringTable_rc.h"
#include "TraceLastError.h"
#include "TwainException.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Walks the dialog's child windows from first to last in their order; stops at the end of
// the list when last never comes.
template <typename Visit> void ForEachControl(HWND first, HWND last, Visit visit) {
    for (HWND window = first; window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        visit(window);
        if (window == last) {
            break;
        }
    }
}

} // namespace

GuiWindowsDialog::GuiWindowsDialog(int dialogId, GuiWindowsDialog* owner, HWND parent)
    : m_owner(owner), m_ownerAlive(owner != nullptr ? owner->m_alive : nullptr), m_parent(parent),
      m_dialogId(dialogId) {}

GuiWindowsDialog::~GuiWindowsDialog() {
    *m_alive = false;
    delete std::exchange(m_childDialog, nullptr);
    // A modal box may outlive the window it was opened over, closed by a message of its loop.
    if (m_topLevel && m_owner != nullptr && *m_ownerAlive) {
        m_owner->Activate();
        SetActiveWindow(m_owner->GetHwnd());
    }
    if (m_window != nullptr) {
        DestroyWindow(m_window);
        if (m_window != nullptr && IsWindow(m_window)) {
            // Another thread's window cannot be destroyed from here: it must no longer find
            // this object, and the destructor does not wait for it.
            SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        }
        m_window = nullptr;
    }
    // The controls use the font until the window is gone.
    m_fontHelper.reset();
}

void GuiWindowsDialog::Create() {
    SetLastError(0);
    ResourceLoader* const loader = ResourceLoader::Instance();
    const HGLOBAL data = loader->LoadResourceData(m_dialogId);
    const auto* const dialogTemplate =
        data != nullptr ? static_cast<LPCDLGTEMPLATEA>(LockResource(data)) : nullptr;
    if (dialogTemplate == nullptr) {
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    if (m_owner != nullptr && m_parent == nullptr) {
        m_owner->Deactivate();
    }
    DataArg_UserInterface* const ui = GetUserInterface();
    HWND parent = m_parent;
    if (parent == nullptr && m_topLevel && ui != nullptr) {
        parent = ui->GetParentWindow();
    }
    const HWND window = CreateDialogIndirectParamA(loader->GetModule(), dialogTemplate, parent,
                                                   DialogProc, reinterpret_cast<LPARAM>(this));
    TraceLastError();
    if (window == nullptr) {
        if (m_owner != nullptr) {
            m_owner->Activate();
            if (m_topLevel) {
                m_owner->ShowAndActivate();
            }
        }
        throw TwainException(__FILE__, __LINE__, TWCC_BUMMER);
    }
    if (m_topLevel) {
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
        SetForegroundWindow(window);
    }
    if (m_parent == nullptr && !m_onOwnThread && ui != nullptr) {
        ui->SetCurrentWindow(this);
    }
}

int GuiWindowsDialog::DoModal() {
    const HWND ownerWindow = m_owner != nullptr ? m_owner->GetHwnd() : nullptr;
    bool disabledHere = false;
    if (ownerWindow != nullptr && IsWindowEnabled(ownerWindow)) {
        EnableWindow(ownerWindow, FALSE);
        disabledHere = true;
    }
    try {
        Create();
    } catch (...) {
        if (disabledHere) {
            EnableWindow(ownerWindow, TRUE);
        }
        Close();
        throw;
    }
    m_modalState = kModal | kRunning;
    for (;;) {
        const BOOL got = GetMessageA(&m_message, nullptr, 0, 0);
        if (got == 0) {
            // The host's own loop must still see the quit, with its exit code.
            PostQuitMessage(static_cast<int>(m_message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (!PreTranslateMessage(&m_message)) {
            TranslateMessage(&m_message);
            DispatchMessageA(&m_message);
        }
        if ((m_modalState & kRunning) == 0) {
            m_modalState = 0;
            break;
        }
    }
    if (disabledHere) {
        EnableWindow(ownerWindow, TRUE);
    }
    if (ownerWindow != nullptr && m_window != nullptr && GetActiveWindow() == m_window) {
        SetActiveWindow(ownerWindow);
    }
    const int result = m_result;
    Close();
    return result;
}

void GuiWindowsDialog::Close() {
    delete this;
}

DataArg_UserInterface* GuiWindowsDialog::GetUserInterface() const {
    return AbstractSource::GetUserInterfaceHandler();
}

std::string GuiWindowsDialog::LoadString(int stringId) const {
    return ResourceLoader::Instance()->LoadString(stringId);
}

INT_PTR GuiWindowsDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NOTIFY:
        return OnNotify(wParam, reinterpret_cast<NMHDR*>(lParam));
    case WM_INITDIALOG:
        return OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_ENTERIDLE:
        OnEnterIdle();
        return 0;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(
            OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                      wParam);
        return 0;
    case WM_NIMBREL_CLOSE_REQUEST:
        OnCloseRequest(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    default:
        return 0;
    }
}

LRESULT GuiWindowsDialog::OnNotify(WPARAM, NMHDR*) {
    return 0;
}

bool GuiWindowsDialog::OnInitDialog() {
    if (ResourceLoader::Instance()->GetLanguageIndex() == 1) {
        m_fontHelper = std::make_unique<SetFontHelper>(m_window);
    }
    return true;
}

void GuiWindowsDialog::OnCommand(int, int, HWND) {}

void GuiWindowsDialog::OnEnterIdle() {}

void GuiWindowsDialog::OnCloseRequest(int, int) {
    if (GuiWindowsDialog* const child = std::exchange(m_childDialog, nullptr)) {
        child->Hide();
        delete child;
    }
    ShowAndActivate();
}

void GuiWindowsDialog::OnDestroy() {
    DataArg_UserInterface* const ui = GetUserInterface();
    if (ui != nullptr && ui->GetCurrentWindow() == static_cast<UiWindowIntf*>(this)) {
        ui->SetCurrentWindow(m_owner);
    }
    m_window = nullptr;
}

void GuiWindowsDialog::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    try {
        PaintBanner(dc);
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
        EndPaint(m_window, &paint);
        throw;
    }
    EndPaint(m_window, &paint);
}

HBRUSH GuiWindowsDialog::OnCtlColorStatic(HDC, HWND) {
    return nullptr;
}

int GuiWindowsDialog::OnLButtonDown(int x, int y, WPARAM) {
    if (m_window != nullptr && y <= m_bannerHeight) {
        PostMessageA(m_window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(x, y));
    }
    return 1;
}

void GuiWindowsDialog::PaintBanner(HDC dc) {
    if (AbstractSource::Instance() != nullptr) {
        DrawBitmap(dc, 0, 0, kBannerBitmapId);
    }
}

void GuiWindowsDialog::EndDialog(int result) {
    if ((m_modalState & kModal) != 0) {
        m_result = result;
        if ((m_modalState & kRunning) != 0) {
            m_modalState &= ~kRunning;
            PostMessageA(m_window, WM_NULL, 0, 0);
        }
        return;
    }
    if (m_owner != nullptr) {
        SendMessageA(m_owner->GetHwnd(), WM_NIMBREL_CLOSE_REQUEST, static_cast<WPARAM>(m_dialogId),
                     static_cast<LPARAM>(result));
    }
}

void GuiWindowsDialog::Activate() {
    if (!IsEnabled()) {
        EnableWindow(m_window, TRUE);
    }
    SetForegroundWindow(m_window);
}

void GuiWindowsDialog::Deactivate() {
    if (IsEnabled()) {
        EnableWindow(m_window, FALSE);
    }
}

void GuiWindowsDialog::ShowAndActivate() {
    ShowWindow(m_window, SW_SHOWNORMAL);
    SetForegroundWindow(m_window);
}

void GuiWindowsDialog::Hide() {
    ShowWindow(m_window, SW_HIDE);
    if (m_owner != nullptr) {
        SetForegroundWindow(m_owner->GetHwnd());
    }
}

void GuiWindowsDialog::Update() {
    UpdateWindow(m_window);
}

void GuiWindowsDialog::CenterOver(GuiWindowsDialog* over) {
    CenterWindow(over != nullptr ? over->GetHwnd() : nullptr);
}

void GuiWindowsDialog::CenterWindow(HWND over) {
    if (over == nullptr) {
        over = GetDesktopWindow();
    }
    RECT mine = {};
    RECT theirs = {};
    GetWindowRect(m_window, &mine);
    GetWindowRect(over, &theirs);
    const int dx = (theirs.left + theirs.right) / 2 - (mine.left + mine.right) / 2;
    const int dy = (theirs.top + theirs.bottom) / 2 - (mine.top + mine.bottom) / 2;
    const int x = std::max(static_cast<int>(mine.left) + dx, -5);
    const int y = std::max(static_cast<int>(mine.top) + dy, -5);
    SetWindowPos(m_window, HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
}

bool GuiWindowsDialog::IsDialogMessage(MSG* message) {
    return m_window != nullptr && IsDialogMessageA(m_window, message) != 0;
}

void GuiWindowsDialog::DrawBitmap(HDC dc, int x, int y, int bitmapId) {
    const GdiObject<HBITMAP> bitmap(ResourceLoader::Instance()->LoadBitmap(bitmapId));
    if (!bitmap) {
        return;
    }
    MemoryDC memory(dc);
    BITMAP info = {};
    GetObjectA(bitmap.Get(), sizeof(info), &info);
    if (!memory.Select(bitmap.Get())) {
        return;
    }
    BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory.Get(), 0, 0, SRCCOPY);
    m_bannerHeight = info.bmHeight;
}

void GuiWindowsDialog::StretchBitmap(HDC dc, const RECT* target, int bitmapId) {
    const GdiObject<HBITMAP> bitmap(ResourceLoader::Instance()->LoadBitmap(bitmapId));
    if (!bitmap || target == nullptr) {
        return;
    }
    MemoryDC memory(dc);
    BITMAP info = {};
    GetObjectA(bitmap.Get(), sizeof(info), &info);
    if (!memory.Select(bitmap.Get())) {
        return;
    }
    StretchBlt(dc, target->left, target->top, target->right - target->left,
               target->bottom - target->top, memory.Get(), 0, 0, info.bmWidth, info.bmHeight,
               SRCCOPY);
}

HWND GuiWindowsDialog::GetHwnd() const {
    return m_window;
}

GuiWindowsDialog* GuiWindowsDialog::GetOwner() const {
    return m_owner;
}

bool GuiWindowsDialog::IsEnabled() const {
    return IsWindowEnabled(m_window) != 0;
}

void GuiWindowsDialog::Enable(bool enable) {
    if (IsEnabled() != enable) {
        EnableWindow(m_window, enable ? TRUE : FALSE);
    }
}

void GuiWindowsDialog::Show(bool show) {
    ShowWindow(m_window, show ? SW_SHOW : SW_HIDE);
}

bool GuiWindowsDialog::IsVisible() const {
    return IsWindowVisible(m_window) != 0;
}

void GuiWindowsDialog::GetSize(int* width, int* height) const {
    RECT rect = {};
    GetWindowRect(m_window, &rect);
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
}

void GuiWindowsDialog::SetSize(int cx, int cy) {
    SetWindowPos(m_window, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
}

void GuiWindowsDialog::SetActive() {
    SetActiveWindow(m_window);
}

HWND GuiWindowsDialog::GetItem(int controlId) const {
    SetLastError(0);
    const HWND control = GetDlgItem(m_window, controlId);
    TraceLastError();
    return control;
}

bool GuiWindowsDialog::IsItemEnabled(int controlId) const {
    return IsControlEnabled(GetItem(controlId));
}

bool GuiWindowsDialog::IsControlEnabled(HWND control) const {
    return IsWindowEnabled(control) != 0;
}

void GuiWindowsDialog::EnableItem(int controlId, bool enable) {
    EnableControl(GetItem(controlId), enable);
}

void GuiWindowsDialog::EnableControl(HWND control, bool enable) {
    if (IsControlEnabled(control) != enable) {
        EnableWindow(control, enable ? TRUE : FALSE);
    }
}

bool GuiWindowsDialog::IsItemVisible(int controlId) const {
    return IsControlVisible(GetItem(controlId));
}

bool GuiWindowsDialog::IsControlVisible(HWND control) const {
    return IsWindowVisible(control) != 0;
}

void GuiWindowsDialog::ShowItem(int controlId, bool show) {
    ShowControl(GetItem(controlId), show);
}

void GuiWindowsDialog::ShowControl(HWND control, bool show) {
    ShowWindow(control, show ? SW_SHOWNORMAL : SW_HIDE);
}

std::string GuiWindowsDialog::GetItemText(int controlId) const {
    return GetControlText(GetItem(controlId));
}

std::string GuiWindowsDialog::GetControlText(HWND control) const {
    const int length = GetWindowTextLengthA(control);
    std::vector<char> buffer(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    GetWindowTextA(control, buffer.data(), static_cast<int>(buffer.size()));
    TraceLastError();
    return std::string(buffer.data());
}

void GuiWindowsDialog::SetItemText(int controlId, const std::string& text) {
    SetControlText(GetItem(controlId), text);
}

void GuiWindowsDialog::SetControlText(HWND control, const std::string& text) {
    SetLastError(0);
    if (!SetWindowTextA(control, text.c_str())) {
        TraceLastError();
    }
}

std::string GuiWindowsDialog::GetEditText(int controlId) const {
    return ForwardGetControlText(GetItem(controlId));
}

std::string GuiWindowsDialog::ForwardGetControlText(HWND control) const {
    return GetControlText(control);
}

void GuiWindowsDialog::SetEditText(int controlId, const std::string& text) {
    ForwardSetControlText(GetItem(controlId), text);
}

void GuiWindowsDialog::ForwardSetControlText(HWND control, const std::string& text) {
    SetControlText(control, text);
}

std::string GuiWindowsDialog::GetButtonText(int controlId) const {
    return ForwardGetControlText(GetItem(controlId));
}

void GuiWindowsDialog::SetButtonText(int controlId, const std::string& text) {
    ForwardSetControlText(GetItem(controlId), text);
}

bool GuiWindowsDialog::IsItemChecked(int controlId) const {
    return IsControlChecked(GetItem(controlId));
}

bool GuiWindowsDialog::IsControlChecked(HWND control) const {
    return SendMessageA(control, BM_GETCHECK, 0, 0) != 0;
}

void GuiWindowsDialog::CheckItem(int controlId, bool check) {
    CheckControl(GetItem(controlId), check);
}

void GuiWindowsDialog::CheckControl(HWND control, bool check) {
    SendMessageA(control, BM_SETCHECK, check ? BST_CHECKED : BST_UNCHECKED, 0);
}

void GuiWindowsDialog::ToggleItemCheck(int controlId) {
    ToggleControlCheck(GetItem(controlId));
}

void GuiWindowsDialog::ToggleControlCheck(HWND control) {
    const bool checked = SendMessageA(control, BM_GETCHECK, 0, 0) != 0;
    SendMessageA(control, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

RECT GuiWindowsDialog::GetItemRect(int controlId) const {
    return GetControlRect(GetItem(controlId));
}

RECT GuiWindowsDialog::GetControlRect(HWND control) const {
    RECT rect = {};
    GetWindowRect(control, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(m_window, &corners[0]);
    ScreenToClient(m_window, &corners[1]);
    return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

void GuiWindowsDialog::MoveItem(int controlId, int x, int y) {
    MoveControl(GetItem(controlId), x, y);
}

void GuiWindowsDialog::MoveControl(HWND control, int x, int y) {
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void GuiWindowsDialog::SizeItem(int controlId, int cx, int cy) {
    SizeControl(GetItem(controlId), cx, cy);
}

void GuiWindowsDialog::SizeControl(HWND control, int cx, int cy) {
    SetWindowPos(control, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER);
}

bool GuiWindowsDialog::AskYesNo(const std::string& text) {
    const bool systemModal = getApplicationProductName().find("PaperPort") != std::string::npos;
    const UINT style =
        MB_YESNO | MB_ICONEXCLAMATION | (systemModal ? MB_SYSTEMMODAL : MB_TASKMODAL);
    return MessageBoxA(nullptr, text.c_str(), LoadString(IDS_PRODUCT_TITLE).c_str(), style) ==
           IDYES;
}

void GuiWindowsDialog::SetTitle(const std::string& title) {
    SetWindowTextA(m_window, title.c_str());
}

void GuiWindowsDialog::ShowItemRange(int firstId, int lastId, bool show) {
    ForEachControl(GetItem(firstId), GetItem(lastId),
                   [&](HWND control) { ShowControl(control, show); });
}

void GuiWindowsDialog::ShiftItemsUp(int anchorId, int firstId, int lastId) {
    const HWND first = GetItem(firstId);
    const HWND anchor = GetItem(anchorId);
    if (first == nullptr || anchor == nullptr) {
        return;
    }
    int width = 0;
    int height = 0;
    GetSize(&width, &height);
    const int delta = GetControlRect(first).top - GetControlRect(anchor).top;
    ForEachControl(first, GetItem(lastId), [&](HWND control) {
        const RECT rect = GetControlRect(control);
        MoveControl(control, rect.left, rect.top - delta);
    });
    SetSize(width, height - delta);
}

int GuiWindowsDialog::ClampIndex(int count, int index) const {
    if (index < 0) {
        return -1;
    }
    return index >= count ? count - 1 : index;
}

bool GuiWindowsDialog::PreTranslateMessage(MSG* message) {
    return FilterDialogMessage(message);
}

bool GuiWindowsDialog::FilterDialogMessage(MSG* message) {
    const UINT id = message->message;
    const bool keyboard = id >= WM_KEYFIRST && id <= 0x108;
    const bool mouse = id >= WM_MOUSEFIRST && id <= WM_MOUSEWHEEL;
    if (!keyboard && !mouse) {
        return false;
    }
    return IsDialogMessageA(m_window, message) != 0;
}

INT_PTR CALLBACK GuiWindowsDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    GuiWindowsDialog* dialog = nullptr;
    if (message == WM_INITDIALOG) {
        SetLastError(0);
        dialog = reinterpret_cast<GuiWindowsDialog*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        SendDlgItemMessageA(window, kPasswordFieldId, EM_SETPASSWORDCHAR, '*', 0);
        dialog->m_window = window;
    } else {
        dialog = reinterpret_cast<GuiWindowsDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (dialog == nullptr) {
        return 0;
    }
    INT_PTR result = 0;
    // Nothing may unwind into the system's dialog manager.
    try {
        result = dialog->WindowProc(message, wParam, lParam);
        if (message == WM_INITDIALOG && dialog->m_parent == nullptr &&
            dialog->GetUserInterface() != nullptr) {
            dialog->CenterWindow(nullptr);
        }
    } catch (std::exception& e) {
        CommonCpp::NoteException(&e, __FILE__, __LINE__);
    } catch (...) {
    }
    if (message == WM_NCDESTROY) {
        // Messages after this one find no object.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
    return result;
}

int GuiWindowsDialog::WaitWithMessages(HANDLE handle) {
    const DWORD anyInput = QS_KEY | QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_POSTMESSAGE | QS_TIMER |
                           QS_PAINT | QS_SENDMESSAGE | QS_HOTKEY;
    // A WM_QUIT taken here belongs to the host's own loop: it is posted again at the end.
    bool quit = false;
    int quitCode = 0;
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, anyInput);
        if (woken != WAIT_OBJECT_0 + 1) {
            // Signalled, or the wait itself failed: waiting again could never end.
            break;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = static_cast<int>(message.wParam);
                break;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    if (quit) {
        PostQuitMessage(quitCode);
    }
    return 0;
}

bool GuiWindowsDialog::RunMessageLoop() {
    if (GetMessageA(&m_message, nullptr, 0, 0) <= 0) {
        return false;
    }
    if (!PreTranslateMessage(&m_message)) {
        TranslateMessage(&m_message);
        DispatchMessageA(&m_message);
    }
    return true;
}

void GuiWindowsDialog::SetChildDialog(GuiWindowsDialog* child) {
    delete std::exchange(m_childDialog, child);
}

void GuiWindowsDialog::OpenChildDialog(std::unique_ptr<GuiWindowsDialog> child) {
    SetChildDialog(nullptr);
    try {
        child->Create();
    } catch (...) {
        child.release()->Close();
        throw;
    }
    SetChildDialog(child.release());
}
