#pragma once
// A drop-down list combo box: selection by text with fall-backs, a drop-down height in lines,
// and tool tips that show an entry in full when the box or its list is too narrow for it.

#include "CComboBoxTipHandler.h"
#include "CListBoxTipHandler.h"
#include "GuiControl.h"

#include <string>

class PopupButton : public GuiControl {
public:
    PopupButton() = default;
    // Empties a box still attached; the tip handlers let go of their windows.
    ~PopupButton() override;

    // Also attaches the tip handlers to the box and its drop-down list.
    virtual void Attach(HWND comboBox);
    // Empties the box and forgets it (the tip handlers stay attached).
    virtual void Clear();
    virtual void ResetContent();
    // The entry that begins with text, else the one that begins with secondText, else the
    // fall-back entry when it exists, else the first; the index selected (-1 for an empty box).
    virtual int SelectTextOrFirst(const std::string& text, const std::string& secondText,
                                  int fallback);
    // The entry that begins with text, else the fall-back entry when it exists, else the
    // first; the index selected (-1 for an empty box).
    virtual int SelectText(const std::string& text, int fallback);
    virtual int GetCurSel() const;
    virtual LRESULT SetCurSel(int index);
    // Empty when nothing is selected.
    virtual std::string GetSelectedText() const;
    // The first entry from start that begins with text, case-insensitively; -1 when none.
    virtual int SelectString(const std::string& text, int start);
    virtual int GetCount() const;
    virtual int AddString(const std::string& text);
    virtual int DeleteString(int index);
    // A negative index reads entry 0.
    virtual std::string GetItemText(int index) const;
    virtual int SetItemText(int index, const std::string& text);
    virtual LPARAM GetItemData(int index) const;
    virtual LRESULT SetItemData(int index, LPARAM value);
    // Room for the given number of lines in the dropped-down list, at least 2.
    virtual bool FitDropDownHeight(int visibleLines);

private:
    // The selection once the fall-back rule has run.
    int SelectFallback(int fallback);

    CComboBoxTipHandler m_comboTip;
    CListBoxTipHandler m_listTip;
};
