#pragma once
// An up-down control with its buddy edit field, for numbers typed or stepped; the number
// travels as decimal text. Position and text are brought into step only by the two Sync
// operations.

#include "EditCtrl.h"
#include "GuiControl.h"

#include <cstdint>
#include <string>

class SpinControl : public GuiControl {
public:
    SpinControl() = default;
    // The buddy gets its own window procedure back.
    ~SpinControl() override;

    // Both the up-down control and its buddy.
    void Enable(bool enable) override;

    // The buddy becomes a single-line, digits-only field.
    virtual void Attach(HWND upDown, HWND buddy);
    // Position, then the buddy's text.
    virtual void SetText(const std::string& text);
    virtual LRESULT LimitText(int count);
    virtual EditCtrl* GetBuddyEdit();
    virtual uint32_t GetFilterFlags() const;
    virtual void AttachEditFilter(uint32_t flags);
    // Decimal texts; one that is not a number counts as 0.
    virtual LRESULT SetRange(const std::string& low, const std::string& high);
    virtual void SyncTextFromPos();
    virtual void SyncPosFromText();
    // The position as signed decimal text.
    virtual std::string GetPosText() const;
    virtual LRESULT SetPos(const std::string& text);

    // The buddy's text.
    std::string GetText() const;

private:
    EditCtrl m_buddy;
};
