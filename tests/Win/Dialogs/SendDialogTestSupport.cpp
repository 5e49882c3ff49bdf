#include "SendDialogTestSupport.h"

#include "GuiTestSupport.h"
#include "SendDialogTests_rc.h"

#include <gtest/gtest.h>

#include <cstdlib>

TestOwner::TestOwner() : GuiWindowsDialog(IDD_SEND_TEST_OWNER, nullptr, nullptr) {}

void TestOwner::OnCloseRequest(int dialogId, int result) {
    closeRequests.emplace_back(dialogId, result);
    if (onChildClosed) {
        onChildClosed(GetChildDialog(), dialogId, result);
    }
    GuiWindowsDialog::OnCloseRequest(dialogId, result);
}

bool MemoryStore::GetBool(const std::string& key, bool& found, bool defaultValue) const {
    const auto it = values.find(key);
    found = it != values.end();
    return found ? it->second == "true" : defaultValue;
}
bool MemoryStore::GetBoolByValue(const std::string& key, bool defaultValue) const {
    bool found = false;
    return GetBool(key, found, defaultValue);
}
int MemoryStore::GetInt(const std::string& key, bool& found, int defaultValue) const {
    const auto it = values.find(key);
    found = it != values.end();
    return found ? std::atoi(it->second.c_str()) : defaultValue;
}
int MemoryStore::GetIntByValue(const std::string& key, int defaultValue) const {
    bool found = false;
    return GetInt(key, found, defaultValue);
}
double MemoryStore::GetDouble(const std::string& key, bool& found, double defaultValue) const {
    const auto it = values.find(key);
    found = it != values.end();
    return found ? std::atof(it->second.c_str()) : defaultValue;
}
double MemoryStore::GetDoubleByValue(const std::string& key, double defaultValue) const {
    bool found = false;
    return GetDouble(key, found, defaultValue);
}
std::string MemoryStore::QueryString(const std::string& key, bool& found,
                                     const std::string& defaultValue) const {
    const auto it = values.find(key);
    found = it != values.end();
    return found ? it->second : defaultValue;
}
std::string MemoryStore::GetString(const std::string& key, bool& found) const {
    return QueryString(key, found, "");
}
std::string MemoryStore::GetStringByValue(const std::string& key,
                                          const std::string& defaultValue) const {
    bool found = false;
    return QueryString(key, found, defaultValue);
}
std::string MemoryStore::GetStringOrEmpty(const std::string& key) const {
    return GetStringByValue(key, "");
}
void MemoryStore::SetBool(const std::string& key, bool value) {
    SetString(key, value ? "true" : "false");
}
void MemoryStore::SetInt(const std::string& key, int value) {
    SetString(key, std::to_string(value));
}
void MemoryStore::SetDouble(const std::string& key, double value) {
    SetString(key, std::to_string(value));
}
long MemoryStore::SetString(const std::string& key, const std::string& value) {
    values[key] = value;
    writes.push_back(key);
    return 0;
}
long MemoryStore::DeleteValue(const std::string& key) {
    values.erase(key);
    writes.push_back(key);
    return 0;
}

namespace dialogtest {

void Click(const GuiWindowsDialog& dialog, int controlId) {
    const HWND control = dialog.GetItem(controlId);
    ASSERT_NE(nullptr, control) << controlId;
    if (IsWindowEnabled(control)) {
        SendMessageA(control, BM_CLICK, 0, 0);
    }
    guitest::PumpPending();
}

void Choose(const GuiWindowsDialog& dialog, int controlId, const std::string& text) {
    const HWND box = dialog.GetItem(controlId);
    const LRESULT index = SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(text.c_str()));
    ASSERT_NE(CB_ERR, index) << text;
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog.GetHwnd(), WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
    guitest::PumpPending();
}

std::vector<std::string> Entries(const GuiWindowsDialog& dialog, int controlId) {
    const HWND box = dialog.GetItem(controlId);
    std::vector<std::string> entries;
    const int count = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

void Type(const GuiWindowsDialog& dialog, int controlId, const std::string& text) {
    const HWND edit = dialog.GetItem(controlId);
    for (const char c : text) {
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
    }
    guitest::PumpPending();
}

std::string TextOf(const GuiWindowsDialog& dialog, int controlId) {
    char text[512] = {};
    GetWindowTextA(dialog.GetItem(controlId), text, sizeof(text));
    return text;
}

void Screenshot(const GuiWindowsDialog& dialog, const std::string& name) {
    std::string error;
    EXPECT_TRUE(guitest::SaveScreenshot(dialog.GetHwnd(), name + ".png", &error)) << error;
}

} // namespace dialogtest
