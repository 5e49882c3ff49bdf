#include "SpinControl.h"

#include <commctrl.h>

#include <cstdlib>

SpinControl::~SpinControl() {
    m_buddy.Detach();
}

void SpinControl::Enable(bool enable) {
    GuiControl::Enable(enable);
    m_buddy.Enable(enable);
}

void SpinControl::Attach(HWND upDown, HWND buddy) {
    m_window = upDown;
    m_buddy.SetHandle(buddy);
    m_buddy.Attach(EditCtrl::kSingleLine | EditCtrl::kDigitsOnly);
}

void SpinControl::SetText(const std::string& text) {
    SetPos(text);
    m_buddy.SetText(text);
}

LRESULT SpinControl::LimitText(int count) {
    return m_buddy.LimitText(count);
}

EditCtrl* SpinControl::GetBuddyEdit() {
    return &m_buddy;
}

uint32_t SpinControl::GetFilterFlags() const {
    return m_buddy.GetFilterFlags();
}

void SpinControl::AttachEditFilter(uint32_t flags) {
    m_buddy.Attach(flags);
}

LRESULT SpinControl::SetRange(const std::string& low, const std::string& high) {
    const auto lowValue = static_cast<uint32_t>(std::atoi(low.c_str()));
    const auto highValue = static_cast<uint32_t>(std::atoi(high.c_str()));
    const LPARAM range = static_cast<LPARAM>((lowValue << 16) | (highValue & 0xFFFF));
    return SendMessageA(m_window, UDM_SETRANGE, 0, range);
}

void SpinControl::SyncTextFromPos() {
    m_buddy.SetText(GetPosText());
}

void SpinControl::SyncPosFromText() {
    SetPos(GetText());
}

std::string SpinControl::GetPosText() const {
    const LRESULT position = SendMessageA(m_window, UDM_GETPOS, 0, 0);
    return std::to_string(static_cast<int16_t>(LOWORD(position)));
}

LRESULT SpinControl::SetPos(const std::string& text) {
    const int value = std::atoi(text.c_str());
    return SendMessageA(m_window, UDM_SETPOS, 0,
                        static_cast<LPARAM>(static_cast<uint16_t>(value & 0xFFFF)));
}

std::string SpinControl::GetText() const {
    return m_buddy.GetText();
}
