#pragma once
// A report-style list view of a dialog: typed operations over the list-view messages (ANSI
// forms), exclusive selection and a wrap-around neighbour index.

#include "GuiControl.h"

#include <commctrl.h>

#include <string>

class ListCtrl : public GuiControl {
public:
    ListCtrl() = default;
    ~ListCtrl() override;

    virtual int GetItemCount() const;
    virtual void SetItemCount(int count);
    // The first selected row, -1 when none is.
    virtual int GetSelectedItem() const;
    // Row -1 clears every selection; without keepOthers the row becomes the only one selected.
    virtual void SelectItem(int row, bool keepOthers);
    virtual LPARAM GetItem(int row) const;
    virtual LRESULT SetItem(int row, LPARAM value);
    virtual int InsertItem(int row, const std::string& text);
    // At most 1023 characters.
    virtual std::string GetItemText(int row, int column) const;
    virtual LRESULT SetItemText(int row, int column, const std::string& text);
    virtual void SetRedraw(bool redraw);
    virtual LRESULT DeleteAllItems();
    // The first row from start whose text begins with text, -1 when none does.
    virtual int FindItem(const std::string& text, int start) const;
    virtual HWND SetHandle(HWND window);
    // All extended style bits replaced; the previous style.
    virtual DWORD SetExtendedStyle(DWORD style);
    // The neighbour of row, wrapping around; -1 for an empty list or row -1.
    virtual int GetNextIndex(int row, bool backwards) const;
    virtual int InsertColumn(int column, const std::string& title, int width, int format);
    virtual int HitTest(LVHITTESTINFO* info) const;
    virtual int GetTopIndex() const;
    virtual int GetCountPerPage() const;

    LRESULT EnsureVisible(int row, bool partialOk);
};
