#include "ZylScrollText.h"

#include "MemoryDC.h"

namespace {

constexpr UINT_PTR kScrollTimer = 1;
int g_scrollOffset = 0;
bool g_registrationTried = false;
bool g_registered = false;

} // namespace

ZylScrollText::ZylScrollText() {
    g_scrollOffset = 0;
}

ZylScrollText::~ZylScrollText() {
    if (m_window != nullptr && IsWindow(m_window)) {
        DestroyWindow(m_window);
    }
}

int ZylScrollText::GetScrollOffset() {
    return g_scrollOffset;
}

void ZylScrollText::SetText(const std::string& text) {
    m_text = text;
}

bool ZylScrollText::Create(int x, int y, int width, int height, HWND parent, HINSTANCE module,
                           HBRUSH background) {
    if (!g_registrationTried) {
        g_registrationTried = true;
        WNDCLASSA windowClass = {};
        windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_PARENTDC;
        windowClass.lpfnWndProc = &ZylScrollText::WindowProc;
        windowClass.hInstance = module;
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = kClassName;
        g_registered = RegisterClassA(&windowClass) != 0;
    }
    if (!g_registered) {
        return false;
    }
    m_parent = parent;
    m_module = module;
    m_window = CreateWindowExA(WS_EX_TRANSPARENT, kClassName, "", WS_CHILD | WS_VISIBLE, x, y,
                               width, height, parent, nullptr, module, nullptr);
    if (m_window == nullptr) {
        return false;
    }
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const LANGID language = PRIMARYLANGID(LANGIDFROMLCID(GetThreadLocale()));
    if (language == LANG_JAPANESE || language == LANG_CHINESE) {
        m_font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    } else {
        m_font = reinterpret_cast<HFONT>(SendMessageA(parent, WM_GETFONT, 0, 0));
    }
    SetTimer(m_window, kScrollTimer, 80, nullptr);
    return true;
}

void ZylScrollText::Tick() {
    --g_scrollOffset;
    if (g_scrollOffset + m_textHeight < 0) {
        g_scrollOffset = 0;
    }
    if (m_firstTick) {
        m_firstTick = false;
        // The credits stand still for a second before they move.
        Sleep(1000);
    }
    InvalidateRect(m_window, nullptr, FALSE);
    UpdateWindow(m_window);
}

void ZylScrollText::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(m_window, &paint);
    RECT client = {};
    GetClientRect(m_window, &client);
    MemoryDC memory(dc);
    if (client.right != m_width || client.bottom != m_height || !m_offscreen) {
        m_width = client.right;
        m_height = client.bottom;
        m_offscreen.Reset(CreateCompatibleBitmap(dc, m_width, m_height));
        m_textHeight = 0;
    }
    if (memory.Select(m_offscreen.Get())) {
        if (m_font != nullptr) {
            memory.Select(m_font);
        }
        if (m_textHeight == 0) {
            m_textHeight = DrawStep(memory.Get(), 0, false);
        }
        PatBlt(memory.Get(), 0, 0, m_width, m_height, BLACKNESS);
        int y = g_scrollOffset + 5;
        while (y < m_height) {
            const int drawn = DrawStep(memory.Get(), y, true);
            if (drawn <= 0) {
                break;
            }
            y += drawn;
        }
        BitBlt(dc, 0, 0, m_width, m_height, memory.Get(), 0, 0, SRCCOPY);
    }
    EndPaint(m_window, &paint);
}

int ZylScrollText::DrawStep(HDC dc, int y, bool draw) {
    RECT rect = {5, y, m_width - 5, m_height};
    UINT format = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;
    if (draw) {
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(0, 0, 0));
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    } else {
        format |= DT_CALCRECT;
    }
    return DrawTextA(dc, m_text.c_str(), -1, &rect, format);
}

LRESULT CALLBACK ZylScrollText::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* const scroll = reinterpret_cast<ZylScrollText*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if ((message >= WM_KEYUP && message <= WM_SYSDEADCHAR) ||
        (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONUP)) {
        SendMessageA(GetParent(window), WM_CLOSE, 0, 0);
        return 1;
    }
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_DESTROY:
        KillTimer(window, kScrollTimer);
        if (scroll != nullptr) {
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            scroll->m_window = nullptr;
        }
        return 0;
    case WM_PAINT:
        if (scroll != nullptr) {
            scroll->Paint();
            return 0;
        }
        break;
    case WM_TIMER:
        if (scroll != nullptr) {
            scroll->Tick();
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
