#include "ZylToolTip.h"

#include "ResourceLoader.h"

namespace {

constexpr UINT_PTR kShowTimer = 1;

} // namespace

ZylToolTip& ZylToolTip::Instance() {
    static ZylToolTip instance;
    return instance;
}

ZylToolTip::ZylToolTip() {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        m_font.Reset(CreateFontIndirectA(&metrics.lfStatusFont));
    }
}

ZylToolTip::~ZylToolTip() {
    if (Exists()) {
        DestroyWindow(m_window);
    }
    if (m_module != nullptr) {
        UnregisterClassA(kClassName, m_module);
    }
}

bool ZylToolTip::Create(HWND owner) {
    const HMODULE module = ResourceLoader::Instance()->GetModule();
    WNDCLASSA windowClass = {};
    if (!GetClassInfoA(module, kClassName, &windowClass)) {
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = &ZylToolTip::WindowProc;
        windowClass.hInstance = module;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszMenuName = "";
        windowClass.lpszClassName = kClassName;
        if (!RegisterClassA(&windowClass)) {
            return false;
        }
    }
    m_module = module;
    m_owner = owner;
    m_window = CreateWindowExA(WS_EX_TOOLWINDOW, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 0, 0,
                               nullptr, nullptr, module, nullptr);
    if (!IsWindow(m_window)) {
        m_window = nullptr;
        return false;
    }
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void ZylToolTip::Show(UINT delay) {
    if (delay == 0) {
        ShowNow();
        return;
    }
    m_timer = SetTimer(m_window, kShowTimer, delay, nullptr);
}

void ZylToolTip::Hide() {
    if (m_timer != 0) {
        KillTimer(m_window, m_timer);
        m_timer = 0;
    }
    ShowWindow(m_window, SW_HIDE);
}

void ZylToolTip::ShowNow() {
    ShowWindow(m_window, SW_SHOWNA);
    InvalidateRect(m_window, nullptr, TRUE);
    UpdateWindow(m_window);
    if (m_timer != 0) {
        KillTimer(m_window, m_timer);
        m_timer = 0;
    }
}

void ZylToolTip::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    RECT client = {};
    GetClientRect(m_window, &client);
    char text[100] = {};
    GetWindowTextA(m_window, text, sizeof(text));
    const GdiObject<HBRUSH> background(CreateSolidBrush(GetSysColor(COLOR_INFOBK)));
    FillRect(dc, &client, background.Get());
    const HGDIOBJ previousFont = m_font ? SelectObject(dc, m_font.Get()) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextA(dc, text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previousFont != nullptr) {
        SelectObject(dc, previousFont);
    }
    EndPaint(m_window, &paint);
}

LRESULT CALLBACK ZylToolTip::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* const tip = reinterpret_cast<ZylToolTip*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (tip != nullptr) {
            tip->Paint();
            return 0;
        }
        break;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_TIMER:
        if (tip != nullptr) {
            tip->ShowNow();
            return 0;
        }
        break;
    case WM_NCDESTROY:
        if (tip != nullptr && tip->m_window == window) {
            tip->m_window = nullptr;
            tip->m_timer = 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
