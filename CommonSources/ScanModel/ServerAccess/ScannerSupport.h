#pragma once
// Helpers shared by the source files of Scanner.

#include <string>

class ScannerUiIntf;

namespace scanner_support {

// The string-table text with its "%s" filled by name; only that one place is filled, since the
// name is text the user typed.
std::string WithName(int stringId, const std::string& name);

// A wait text that stays up only while its owner's scope lasts.
class WaitText {
public:
    WaitText(ScannerUiIntf* ui, const std::string& text);
    WaitText(const WaitText&) = delete;
    WaitText& operator=(const WaitText&) = delete;
    ~WaitText();

private:
    ScannerUiIntf* m_ui;
};

} // namespace scanner_support
