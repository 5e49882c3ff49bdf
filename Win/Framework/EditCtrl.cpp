#include "EditCtrl.h"

#include "TraceLastError.h"

#include <cstring>
#include <map>
#include <vector>

namespace {

// The subclassed edit controls of the process; one UI thread at a time uses them.
std::map<HWND, EditCtrl*>& SubclassedControls() {
    static std::map<HWND, EditCtrl*> controls;
    return controls;
}

// A DBCS lead byte was just let through: its trail byte passes whatever it is.
bool g_leadBytePassed = false;

bool IsFileNameCharacterRefused(char character) {
    static const char kRefused[] = "\\/:*?\"<>|%()&^$";
    return character != '\0' && std::strchr(kRefused, character) != nullptr;
}

} // namespace

EditCtrl::NotifyIntf::~NotifyIntf() = default;

EditCtrl::~EditCtrl() {
    Detach();
}

void EditCtrl::Attach(uint32_t flags) {
    const uint32_t kept = kOwnerFlag | kWantReturn;
    m_flags = (flags & ~kept) | (m_flags & kept);

    const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
    LONG_PTR changed = style;
    const auto apply = [&](bool on, LONG_PTR bit) {
        changed = on ? changed | bit : changed & ~bit;
    };
    apply((flags & kSingleLine) == 0, ES_MULTILINE);
    apply((flags & kDigitsOnly) != 0, ES_NUMBER);
    apply((flags & kPassword) != 0, ES_PASSWORD);
    apply((flags & kWantReturn) != 0, ES_WANTRETURN);
    if (changed != style) {
        SetWindowLongPtrA(m_window, GWL_STYLE, changed);
    }

    auto& controls = SubclassedControls();
    if ((m_flags & (kFileName | kWantReturn)) != 0) {
        if (m_window != nullptr && controls.find(m_window) == controls.end()) {
            controls[m_window] = this;
            m_previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditCtrl::WindowProc)));
        }
    } else {
        Unsubclass();
    }
}

void EditCtrl::Detach() {
    if (m_window == nullptr) {
        return;
    }
    m_flags = 0;
    Unsubclass();
    m_window = nullptr;
}

void EditCtrl::SetReturnNotify(NotifyIntf* notify) {
    m_notify = notify;
    m_flags |= kWantReturn;
    Attach(m_flags);
}

bool EditCtrl::IsSubclassed() const {
    const auto& controls = SubclassedControls();
    const auto found = controls.find(m_window);
    return found != controls.end() && found->second == this;
}

void EditCtrl::Unsubclass() {
    if (!IsSubclassed()) {
        return;
    }
    if (IsWindow(m_window) && m_previousProc != nullptr) {
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
    }
    SubclassedControls().erase(m_window);
    m_previousProc = nullptr;
}

uint32_t EditCtrl::GetFilterFlags() const {
    const LONG_PTR style = GetWindowLongPtrA(m_window, GWL_STYLE);
    uint32_t flags = m_flags & ~(kSingleLine | kDigitsOnly);
    if ((style & ES_MULTILINE) == 0) {
        flags |= kSingleLine;
    }
    if ((style & ES_NUMBER) != 0) {
        flags |= kDigitsOnly;
    }
    return flags;
}

void EditCtrl::SetFocus(bool focus) {
    if (focus) {
        ::SetFocus(m_window);
    }
}

std::string EditCtrl::GetText() const {
    const int length = GetWindowTextLengthA(m_window);
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    GetWindowTextA(m_window, buffer.data(), static_cast<int>(buffer.size()));
    TraceLastError();
    return std::string(buffer.data());
}

void EditCtrl::SetText(const std::string& text) {
    SetLastError(0);
    if (!SetWindowTextA(m_window, text.c_str())) {
        TraceLastError();
    }
}

LRESULT EditCtrl::GetSel(WPARAM start, LPARAM end) const {
    return SendMessageA(m_window, EM_GETSEL, start, end);
}

LRESULT EditCtrl::SetSel(int start, int end) {
    return SendMessageA(m_window, EM_SETSEL, static_cast<WPARAM>(start), end);
}

LRESULT EditCtrl::LimitText(int count) {
    return SendMessageA(m_window, EM_LIMITTEXT, static_cast<WPARAM>(count), 0);
}

LRESULT CALLBACK EditCtrl::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto& controls = SubclassedControls();
    const auto found = controls.find(window);
    if (found == controls.end()) {
        return 0;
    }
    EditCtrl* const edit = found->second;
    if ((edit->m_flags & kWantReturn) != 0) {
        if (message == WM_GETDLGCODE) {
            return DLGC_WANTALLKEYS;
        }
        if ((message == WM_CHAR || message == WM_IME_CHAR) && wParam == '\r') {
            if (edit->m_notify != nullptr) {
                edit->m_notify->OnReturnKey(edit);
            }
            return 0;
        }
    }
    if ((edit->m_flags & kFileName) != 0 && message == WM_CHAR) {
        const char character = static_cast<char>(wParam);
        if (g_leadBytePassed) {
            g_leadBytePassed = false;
        } else if (IsDBCSLeadByte(static_cast<BYTE>(wParam))) {
            g_leadBytePassed = true;
        } else if (character != '\b' && IsFileNameCharacterRefused(character)) {
            MessageBeep(0xFFFFFFFF);
            return 0;
        }
    }
    return CallWindowProcA(edit->m_previousProc, window, message, wParam, lParam);
}
