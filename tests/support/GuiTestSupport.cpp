#include "GuiTestSupport.h"

#include <wincodec.h>

#include <cstdlib>

#include <utility>
#include <vector>

#ifndef NIMBREL_SCREENSHOT_DIR
#define NIMBREL_SCREENSHOT_DIR "screenshots"
#endif

namespace guitest {

namespace {

template <typename T> class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (m_pointer != nullptr) {
            m_pointer->Release();
        }
    }
    T* operator->() const { return m_pointer; }
    T* Get() const { return m_pointer; }
    T** Receive() { return &m_pointer; }

private:
    T* m_pointer = nullptr;
};

std::wstring Wide(const std::string& text) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length =
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(length > 0 ? static_cast<size_t>(length - 1) : 0);
    return wide;
}

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr) {
        *error = reason;
    }
    return false;
}

} // namespace

void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds) {
    const DWORD end = GetTickCount() + maxMilliseconds;
    for (;;) {
        PumpPending();
        if (done()) {
            return true;
        }
        if (static_cast<LONG>(GetTickCount() - end) >= 0) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

CodePageLanguage LanguageOfCodePage() {
    CodePageLanguage language;
    switch (GetACP()) {
    case 932:
        language = {1, "ja", 1041, ""};
        break;
    case 936:
        language = {9, "zh", 2052, ""};
        break;
    default:
        if (const char* const wanted = std::getenv("NIMBREL_TEST_LOCALE")) {
            language.missingLocale = wanted;
        }
    }
    return language;
}

std::wstring WideControlText(HWND dialog, int controlId) {
    const HWND control = GetDlgItem(dialog, controlId);
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::string ScreenshotFolder() {
    const std::string folder = NIMBREL_SCREENSHOT_DIR;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool SaveScreenshot(HWND window, const std::string& name, std::string* error) {
    return SaveWindowPng(window, ScreenshotFolder() + "/" + name, error);
}

bool SaveWindowPng(HWND window, const std::string& path, std::string* error) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPending();
    RECT rect = {};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return Fail(error, "empty window");
    }

    // The screen as it shows the window, in 32-bit top-down rows.
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<BYTE> pixels(static_cast<const BYTE*>(bits),
                             static_cast<const BYTE*>(bits) + size_t(width) * height * 4);
    for (size_t i = 3; i < pixels.size(); i += 4) {
        pixels[i] = 0xFF;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool written = false;
    {
        ComPtr<IWICImagingFactory> factory;
        ComPtr<IWICStream> stream;
        ComPtr<IWICBitmapEncoder> encoder;
        ComPtr<IWICBitmapFrameEncode> frame;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        written =
            SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                       IID_IWICImagingFactory,
                                       reinterpret_cast<void**>(factory.Receive()))) &&
            SUCCEEDED(factory->CreateStream(stream.Receive())) &&
            SUCCEEDED(stream->InitializeFromFilename(Wide(path).c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(
                factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Receive())) &&
            SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(frame.Receive(), nullptr)) &&
            SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
            SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
            SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width) * 4,
                                         static_cast<UINT>(pixels.size()), pixels.data())) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    if (SUCCEEDED(init)) {
        CoUninitialize();
    }
    return written ? true : Fail(error, "the PNG encoder refused " + path);
}

bool HasControls(HWND window, std::initializer_list<int> controlIds) {
    for (const int id : controlIds) {
        if (GetDlgItem(window, id) == nullptr) {
            return false;
        }
    }
    return true;
}

namespace {

struct OwnedSearch {
    HWND owner;
    const std::string& title;
    HWND found;
};

BOOL CALLBACK FindOwned(HWND window, LPARAM param) {
    auto* const search = reinterpret_cast<OwnedSearch*>(param);
    char text[128] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (GetWindow(window, GW_OWNER) == search->owner && search->title == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND OwnedWindow(HWND owner, const std::string& title) {
    OwnedSearch search = {owner, title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FocusIn(HWND window) {
    const HWND root = GetAncestor(window, GA_ROOT);
    PumpUntil(
        [root] {
            if (GetForegroundWindow() != root) {
                SetForegroundWindow(root);
            }
            return GetFocus() != nullptr;
        },
        2000);
    return GetFocus();
}

void ClickButton(HWND dialog, int controlId) {
    SendMessageA(GetDlgItem(dialog, controlId), BM_CLICK, 0, 0);
}

void TypeText(HWND dialog, int controlId, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, controlId), text.c_str());
}

std::string ControlText(HWND dialog, int controlId) {
    char text[2048] = {};
    GetWindowTextA(GetDlgItem(dialog, controlId), text, sizeof(text));
    return text;
}

namespace {

std::vector<WindowAnswerer*>& Answerers() {
    static std::vector<WindowAnswerer*> answerers;
    return answerers;
}

struct ThreadWindows {
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    if (IsWindowVisible(window)) {
        reinterpret_cast<ThreadWindows*>(param)->windows.push_back(window);
    }
    return TRUE;
}

} // namespace

WindowAnswerer::WindowAnswerer(std::function<bool(HWND)> matches, std::function<void(HWND)> answer,
                               UINT periodMilliseconds)
    : m_matches(std::move(matches)), m_answer(std::move(answer)) {
    m_timer = SetTimer(nullptr, 0, periodMilliseconds, OnTimer);
    Answerers().push_back(this);
}

WindowAnswerer::~WindowAnswerer() {
    KillTimer(nullptr, m_timer);
    auto& all = Answerers();
    for (auto it = all.begin(); it != all.end(); ++it) {
        if (*it == this) {
            all.erase(it);
            break;
        }
    }
}

void CALLBACK WindowAnswerer::OnTimer(HWND, UINT, UINT_PTR timerId, DWORD) {
    for (WindowAnswerer* answerer : Answerers()) {
        if (answerer->m_timer == timerId) {
            answerer->Look();
            return;
        }
    }
}

void WindowAnswerer::Look() {
    // An answer may run a loop of its own, in which the timer fires again.
    if (m_busy) {
        return;
    }
    m_busy = true;
    ThreadWindows found;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&found));
    for (const HWND window : found.windows) {
        bool seen = false;
        for (const HWND old : m_seen) {
            seen = seen || old == window;
        }
        if (!seen && IsWindow(window) && m_matches(window)) {
            m_seen.push_back(window);
            ++m_answered;
            m_answer(window);
            break;
        }
    }
    m_busy = false;
}

BoxReader::BoxReader(int textControlId, std::function<bool(HWND)> matches)
    : m_answerer(
          matches
              ? std::move(matches)
              : [textControlId](HWND window) { return HasControls(window, {textControlId, IDOK}); },
          [this, textControlId](HWND box) {
              m_texts.push_back(ControlText(box, textControlId));
              PostMessageA(box, WM_COMMAND, IDOK, 0);
          }) {}

namespace {

const char* const kPostedCallClass = "NimbrelTestPostedCall";
constexpr UINT kRunPostedCall = WM_APP + 1;

} // namespace

PostedCall::PostedCall() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kPostedCallClass;
    RegisterClassA(&windowClass); // a second instance finds it registered
    m_window = CreateWindowA(kPostedCallClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

PostedCall::~PostedCall() {
    DestroyWindow(m_window);
}

void PostedCall::Post(std::function<void()> call) {
    m_calls.push_back(std::move(call));
    PostMessageA(m_window, kRunPostedCall, 0, 0);
}

LRESULT CALLBACK PostedCall::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* const self = reinterpret_cast<PostedCall*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message != kRunPostedCall || self == nullptr || self->m_calls.empty()) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const std::function<void()> call = std::move(self->m_calls.front());
    self->m_calls.erase(self->m_calls.begin());
    ++self->m_runs;
    call();
    return 0;
}

} // namespace guitest
