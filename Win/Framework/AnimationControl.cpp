#include "AnimationControl.h"

#include <commctrl.h>

AnimationControl::~AnimationControl() {
    if (m_window != nullptr && IsWindow(m_window)) {
        Stop();
    }
}

void AnimationControl::Play(const char* resourceName) {
    SendMessageA(m_window, ACM_OPENA, 0, reinterpret_cast<LPARAM>(resourceName));
    SendMessageA(m_window, ACM_PLAY, static_cast<WPARAM>(-1), MAKELONG(0, 0xFFFF));
}

void AnimationControl::Stop() {
    SendMessageA(m_window, ACM_STOP, 0, 0);
    SendMessageA(m_window, ACM_OPENA, 0, 0);
}
