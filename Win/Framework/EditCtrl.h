#pragma once
// An edit control whose style and character filter follow a flag word, and which can tell its
// owner of the Return key. Filtering and the Return key need the control subclassed; the
// subclass lives exactly while one of those flags is set and the wrapper holds the window.

#include "GuiControl.h"

#include <cstdint>
#include <string>

class EditCtrl : public GuiControl {
public:
    class NotifyIntf {
    public:
        virtual ~NotifyIntf();
        virtual void OnReturnKey(EditCtrl* edit) = 0;
    };

    static constexpr uint32_t kSingleLine = 0x01;
    // Left as the owner set it.
    static constexpr uint32_t kOwnerFlag = 0x02;
    static constexpr uint32_t kDigitsOnly = 0x04;
    // Refuses the characters a file name cannot hold.
    static constexpr uint32_t kFileName = 0x08;
    static constexpr uint32_t kPassword = 0x10;
    static constexpr uint32_t kWantReturn = 0x20;

    EditCtrl() = default;
    // Detaches.
    ~EditCtrl() override;

    // Applies the flags to the control set with SetHandle; the owner flag and the Return-key
    // flag keep their stored values.
    void Attach(uint32_t flags);
    // Flags cleared, window procedure put back, handle forgotten.
    void Detach();
    // The Return key goes to notify (and inserts nothing) from now on.
    void SetReturnNotify(NotifyIntf* notify);
    // The stored flags, with single line and digits only read from the live style.
    uint32_t GetFilterFlags() const;
    void SetFocus(bool focus);
    std::string GetText() const;
    void SetText(const std::string& text);
    LRESULT GetSel(WPARAM start, LPARAM end) const;
    LRESULT SetSel(int start, int end);
    LRESULT LimitText(int count);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsSubclassed() const;
    void Unsubclass();

    uint32_t m_flags = 0;
    NotifyIntf* m_notify = nullptr;
    WNDPROC m_previousProc = nullptr;
};
