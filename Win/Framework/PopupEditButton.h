#pragma once
// A pop-up button whose combo box may instead carry an edit field (a value typed as well as
// chosen), wrapped in an EditCtrl with its character filter; the dialog's control can be
// rebuilt as either kind at run time.

#include "EditCtrl.h"
#include "PopupButton.h"

#include <cstdint>
#include <string>

class PopupEditButton : public PopupButton {
public:
    PopupEditButton() = default;
    // Lets go of the edit field before the box.
    ~PopupEditButton() override;

    // A drop-down list: no edit field.
    void Attach(HWND comboBox) override;
    int SelectString(const std::string& text, int start) override;

    // A drop-down combo box: its edit field becomes the edit member's window, without filter.
    virtual void AttachEdit(HWND comboBox);
    // The operations on the edit field do nothing without one (and answer 1 or 0).
    virtual void SetText(const std::string& text);
    virtual LRESULT GetSel(WPARAM start, LPARAM end);
    virtual LRESULT SetSel(int start, int end);
    virtual LRESULT LimitText(int count);
    virtual uint32_t GetFilterFlags() const;
    virtual LRESULT AttachEditFilter(uint32_t flags);
    virtual EditCtrl* GetEdit();
    // The edit field shows the selected entry.
    virtual void SyncEditWithSelection();

    // With a list and a selection, the selected entry; otherwise the edit field's text.
    std::string GetText() const;
    bool HasList() const { return m_hasList; }
    // Destroys the control and makes one of the other kind in its place: same id, position,
    // size, font and tab position.
    void ReplaceWithComboBox(bool hasList);

private:
    bool HasEditField() const { return !m_hasList && m_edit.GetHandle() != nullptr; }

    EditCtrl m_edit;
    bool m_hasList = false;
};
