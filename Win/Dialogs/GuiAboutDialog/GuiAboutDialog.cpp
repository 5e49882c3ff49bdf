#include "GuiAboutDialog.h"

#include "DataArg_UserInterface.h"
#include "GuiAboutDialog_rc.h"
#include "ResourceLoader.h"
#include "ScanStrings.h"
#include "StringTable_rc.h"

#include <cstring>
#include <vector>

namespace {

const char* const kProductLine = "Zyl Nimbrel";
const char* const kCompanyLine = "Halcyra, Inc.\r\n";
const char* const kPatentList = "N5-0101; N5-0102; N5-0203; N5-0304";
const char* const kBrandingValue = "BrandingA";
constexpr DWORD kBrandingBufferSize = 256;
constexpr std::size_t kVersionBufferSize = 256;

// Appends piece while the text stays shorter than the buffer.
void AppendBounded(char* buffer, std::size_t size, const char* piece) {
    const std::size_t used = strnlen(buffer, size);
    if (used + std::strlen(piece) < size) {
        std::memcpy(buffer + used, piece, std::strlen(piece) + 1);
    }
}

bool IsBranded() {
    const std::string keyPath = "Software\\" + ScanConstStrings::CompanyName;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return false;
    }
    BYTE data[kBrandingBufferSize] = {};
    DWORD size = sizeof(data);
    const bool read =
        RegQueryValueExA(key, kBrandingValue, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read;
}

} // namespace

bool getModuleFileVersion(HMODULE module, char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) {
        return false;
    }
    char path[MAX_PATH] = {};
    bool found = false;
    if (GetModuleFileNameA(module, path, sizeof(path)) != 0 && path[0] != '\0') {
        DWORD handle = 0;
        const DWORD infoSize = GetFileVersionInfoSizeA(path, &handle);
        if (infoSize != 0) {
            std::vector<char> info(infoSize, 0);
            void* value = nullptr;
            UINT length = 0;
            if (GetFileVersionInfoA(path, 0, infoSize, info.data()) &&
                VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileVersion", &value,
                               &length) &&
                value != nullptr) {
                // The value need not fit: it is cut, never written past the buffer.
                const char* const text = static_cast<const char*>(value);
                const std::size_t count = strnlen(text, length);
                const std::size_t copied = count < size ? count : size - 1;
                std::memcpy(buffer, text, copied);
                buffer[copied] = '\0';
                found = true;
            }
        }
    }
    if (found) {
        return true;
    }
    AppendBounded(buffer, size, " - ");
    AppendBounded(buffer, size, __DATE__);
    AppendBounded(buffer, size, " - ");
    AppendBounded(buffer, size, __TIME__);
    return false;
}

GuiAboutDialog::GuiAboutDialog(GuiWindowsDialog* owner)
    : GuiWindowsDialog(IDD_ABOUT, owner, nullptr) {}

GuiAboutDialog::~GuiAboutDialog() = default;

void GuiAboutDialog::Close() {
    GuiWindowsDialog::Close();
}

INT_PTR GuiAboutDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool keyRelease = message >= WM_KEYUP && message <= 0x107;
    const bool mouseButton = message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK;
    if (keyRelease || mouseButton) {
        SendMessageA(GetHwnd(), WM_CLOSE, 0, 0);
        return 1;
    }
    return GuiWindowsDialog::WindowProc(message, wParam, lParam);
}

bool GuiAboutDialog::OnInitDialog() {
    GuiWindowsDialog::OnInitDialog();
    if (IsBranded()) {
        m_brandedPicture.Reset(ResourceLoader::Instance()->LoadBitmap(IDB_ABOUT_BRANDED));
        SendDlgItemMessageA(GetHwnd(), IDC_ABOUT_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                            reinterpret_cast<LPARAM>(m_brandedPicture.Get()));
    }
    CreateScrollText();
    m_scrollText.SetText(BuildCredits());
    if (getApplicationProductName().find("PaperPort") != std::string::npos) {
        SetWindowPos(GetHwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    }
    return true;
}

void GuiAboutDialog::OnCommand(int controlId, int notifyCode, HWND control) {
    if (notifyCode == 0) {
        EndDialog(1);
        return;
    }
    GuiWindowsDialog::OnCommand(controlId, notifyCode, control);
}

void GuiAboutDialog::PaintBanner(HDC dc) {
    GuiWindowsDialog::PaintBanner(dc);
}

void GuiAboutDialog::CreateScrollText() {
    RECT client = {};
    GetClientRect(GetHwnd(), &client);
    m_scrollText.Create(client.left + 330, client.top + 50, 180, 200, GetHwnd(),
                        ResourceLoader::Instance()->GetModule(),
                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

std::string GuiAboutDialog::BuildCredits() {
    ResourceLoader* const loader = ResourceLoader::Instance();
    char version[kVersionBufferSize] = {};
    getModuleFileVersion(loader->GetModule(), version, sizeof(version));
    std::string text = "\r\n\r\n\r\n\r\n\r\n\r\n";
    text += kProductLine;
    text += "\r\n";
    text += version;
    text += "\r\n\r\n";
    text += loader->LoadString(IDS_COPYRIGHT) + "\r\n";
    text += kCompanyLine;
    text += loader->LoadString(IDS_RIGHTS_RESERVED);
    text += "\r\n\r\n";
    text += loader->LoadString(IDS_PATENT_NOTICE) + "\r\n";
    text += kPatentList;
    text += "\r\n\r\n";
    text += loader->LoadString(IDS_LEGAL_WARNING);
    text += "\r\n\r\n\r\n\r\n";
    return text;
}
