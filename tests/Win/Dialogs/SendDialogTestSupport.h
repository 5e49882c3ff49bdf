#pragma once
// What the window tests of the Send and FTP destination windows share: an owner window that
// records its children's close requests, a preferences store in memory that notes every write,
// and clicks and selections as the user makes them.

#include "GuiWindowsDialog.h"
#include "XGPreferencesIntf.h"

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

// A plain window that owns the dialog under test, as the acquire window does.
class TestOwner : public GuiWindowsDialog {
public:
    TestOwner();
    // Runs before the framework deletes the child.
    std::function<void(GuiWindowsDialog* child, int dialogId, int result)> onChildClosed;
    std::vector<std::pair<int, int>> closeRequests;

    void Adopt(GuiWindowsDialog* child) { SetChildDialog(child); }
    void OnCloseRequest(int dialogId, int result) override;
};

// Settings in memory; every write is noted by its name.
class MemoryStore : public CommonCpp::XGPreferencesIntf {
public:
    std::map<std::string, std::string> values;
    std::vector<std::string> writes;

    bool GetBool(const std::string& key, bool& found, bool defaultValue) const override;
    bool GetBoolByValue(const std::string& key, bool defaultValue) const override;
    int GetInt(const std::string& key, bool& found, int defaultValue) const override;
    int GetIntByValue(const std::string& key, int defaultValue) const override;
    double GetDouble(const std::string& key, bool& found, double defaultValue) const override;
    double GetDoubleByValue(const std::string& key, double defaultValue) const override;
    std::string QueryString(const std::string& key, bool& found,
                            const std::string& defaultValue) const override;
    std::string GetString(const std::string& key, bool& found) const override;
    std::string GetStringByValue(const std::string& key,
                                 const std::string& defaultValue) const override;
    std::string GetStringOrEmpty(const std::string& key) const override;
    void SetBool(const std::string& key, bool value) override;
    void SetInt(const std::string& key, int value) override;
    void SetDouble(const std::string& key, double value) override;
    long SetString(const std::string& key, const std::string& value) override;
    long DeleteValue(const std::string& key) override;
};

namespace dialogtest {

// A button as the user clicks it (a disabled one ignores the click).
void Click(const GuiWindowsDialog& dialog, int controlId);
// Selects the entry with this text in a drop-down list and tells the dialog.
void Choose(const GuiWindowsDialog& dialog, int controlId, const std::string& text);
// Every entry of a drop-down list.
std::vector<std::string> Entries(const GuiWindowsDialog& dialog, int controlId);
// Text typed into an edit, one character at a time.
void Type(const GuiWindowsDialog& dialog, int controlId, const std::string& text);
// The text as the edit control holds it.
std::string TextOf(const GuiWindowsDialog& dialog, int controlId);
// The window's picture in the screenshot folder; a failure is a test failure.
void Screenshot(const GuiWindowsDialog& dialog, const std::string& name);

} // namespace dialogtest
