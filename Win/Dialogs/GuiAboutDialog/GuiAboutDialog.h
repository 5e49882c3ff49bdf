#pragma once
// The about box: a full-size picture (a branded one when the machine says so) under a window
// of credits that scroll without end. Any key release, click or command closes it.

#include "GdiObject.h"
#include "GuiWindowsDialog.h"
#include "ZylScrollText.h"

#include <cstddef>

class GuiAboutDialog : public GuiWindowsDialog {
public:
    explicit GuiAboutDialog(GuiWindowsDialog* owner);
    ~GuiAboutDialog() override;

    void Close() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnInitDialog() override;
    void OnCommand(int controlId, int notifyCode, HWND control) override;
    void PaintBanner(HDC dc) override;

    virtual void CreateScrollText();

    // The whole credits text, as the scroll text shows it.
    static std::string BuildCredits();
    const ZylScrollText& GetScrollText() const { return m_scrollText; }

private:
    ZylScrollText m_scrollText;
    GdiObject<HBITMAP> m_brandedPicture;
};

// The module's file version text into buffer (at most size - 1 characters, always ended):
// true; a module without one gets " - " build date " - " build time appended to what buffer
// holds, each piece only while it fits: false.
bool getModuleFileVersion(HMODULE module, char* buffer, std::size_t size);
