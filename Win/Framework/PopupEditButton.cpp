#include "PopupEditButton.h"

#include "ResourceLoader.h"

PopupEditButton::~PopupEditButton() {
    m_edit.Detach();
}

void PopupEditButton::Attach(HWND comboBox) {
    m_hasList = true;
    PopupButton::Attach(comboBox);
}

int PopupEditButton::SelectString(const std::string& text, int start) {
    return PopupButton::SelectString(text, start);
}

void PopupEditButton::AttachEdit(HWND comboBox) {
    PopupButton::Attach(comboBox);
    m_hasList = false;
    m_edit.Detach();
    m_edit.SetHandle(GetWindow(comboBox, GW_CHILD));
}

void PopupEditButton::SetText(const std::string& text) {
    if (HasEditField()) {
        m_edit.SetText(text);
    }
}

LRESULT PopupEditButton::GetSel(WPARAM start, LPARAM end) {
    return HasEditField() ? m_edit.GetSel(start, end) : 1;
}

LRESULT PopupEditButton::SetSel(int start, int end) {
    return HasEditField() ? m_edit.SetSel(start, end) : 1;
}

LRESULT PopupEditButton::LimitText(int count) {
    return HasEditField() ? m_edit.LimitText(count) : 1;
}

uint32_t PopupEditButton::GetFilterFlags() const {
    return HasEditField() ? m_edit.GetFilterFlags() : 0;
}

LRESULT PopupEditButton::AttachEditFilter(uint32_t flags) {
    if (!HasEditField()) {
        return 1;
    }
    m_edit.Attach(flags);
    return 0;
}

EditCtrl* PopupEditButton::GetEdit() {
    return &m_edit;
}

void PopupEditButton::SyncEditWithSelection() {
    if (HasEditField() && GetCurSel() >= 0) {
        SetText(GetSelectedText());
    }
}

std::string PopupEditButton::GetText() const {
    if (m_hasList && GetCurSel() >= 0) {
        return GetSelectedText();
    }
    return m_edit.GetHandle() != nullptr ? m_edit.GetText() : std::string();
}

void PopupEditButton::ReplaceWithComboBox(bool hasList) {
    if (hasList == m_hasList) {
        return;
    }
    m_hasList = hasList;
    const HWND old = GetHandle();
    const HWND previous = GetWindow(old, GW_HWNDPREV);
    const int id = GetDlgCtrlID(old);
    const LONG_PTR style = GetWindowLongPtrA(old, GWL_STYLE);
    const LONG_PTR extendedStyle = GetWindowLongPtrA(old, GWL_EXSTYLE);
    const HWND parent = GetParent(old);
    RECT rect = {};
    GetWindowRect(old, &rect);
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    const auto font = static_cast<WPARAM>(SendMessageA(old, WM_GETFONT, 0, 0));

    // The old control and its edit field go: nothing may keep their windows.
    m_edit.Detach();
    DestroyWindow(old);

    const LONG_PTR kinds = CBS_SIMPLE | CBS_DROPDOWN | CBS_DROPDOWNLIST;
    const LONG_PTR newStyle =
        (style & ~kinds) | (hasList ? CBS_DROPDOWNLIST : CBS_DROPDOWN) | WS_VISIBLE;
    const HWND created = CreateWindowExA(static_cast<DWORD>(extendedStyle), "Combobox", "",
                                         static_cast<DWORD>(newStyle), corners[0].x, corners[0].y,
                                         corners[1].x - corners[0].x, corners[1].y - corners[0].y,
                                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                         ResourceLoader::Instance()->GetModule(), nullptr);
    if (hasList) {
        Attach(created);
    } else {
        AttachEdit(created);
    }
    SendMessageA(created, WM_SETFONT, font, TRUE);
    SetWindowPos(created, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}
