#pragma once
// Helpers of the tests that open windows: taking the thread's waiting messages, pumping until
// something holds, and writing a window's picture as a PNG file.

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace guitest {

// Dispatches every message waiting in the thread's queue.
void PumpPending();
// Pumps until done() holds, for at most the given time; whether it held.
bool PumpUntil(const std::function<bool()>& done, DWORD maxMilliseconds = 10000);
// The window as it is on screen (brought to the front and repainted first), as a PNG file;
// false with a reason when it could not be written.
bool SaveWindowPng(HWND window, const std::string& path, std::string* error = nullptr);
// Folder of the build tree where the window tests put their pictures (made when missing).
std::string ScreenshotFolder();
// SaveWindowPng into that folder under the file name given.
bool SaveScreenshot(HWND window, const std::string& name, std::string* error = nullptr);

// The interface language whose texts this process's ANSI code page shows: Japanese under 932,
// Simplified Chinese under 936, none (index -1) under any other. Wine takes the code page from
// the locale, so the tests of those languages run again in ctest entries of their own under
// the matching locale (nimbrel_add_locale_runs); in such an entry a process that did not get
// its locale names it in missingLocale.
struct CodePageLanguage {
    int index = -1;
    std::string code;
    LANGID langId = 0;
    std::string missingLocale;
};
CodePageLanguage LanguageOfCodePage();
// A control's text as the window holds it, in UTF-16.
std::wstring WideControlText(HWND dialog, int controlId);

// A top-level window of this thread owned by the owner and titled so; null when none is.
HWND OwnedWindow(HWND owner, const std::string& title);
// Whether the window holds a child control with each of the ids.
bool HasControls(HWND window, std::initializer_list<int> controlIds);
// The control of the window that has the keyboard focus. The window is brought to the front
// first: another program's window may have taken the focus meanwhile, and a dialog gives it back
// to the control that last had it.
HWND FocusIn(HWND window);
// A user's click on the dialog's button (BM_CLICK).
void ClickButton(HWND dialog, int controlId);
// A user's typing into the dialog's field: its whole text replaced (the field notifies).
void TypeText(HWND dialog, int controlId, const std::string& text);
std::string ControlText(HWND dialog, int controlId);

// Answers windows that open in a loop the test does not own (a modal dialog): while it lives,
// a timer of this thread looks for visible top-level windows of the thread that match and
// answers each such window once, as a user would.
class WindowAnswerer {
public:
    WindowAnswerer(std::function<bool(HWND)> matches, std::function<void(HWND)> answer,
                   UINT periodMilliseconds = 50);
    WindowAnswerer(const WindowAnswerer&) = delete;
    WindowAnswerer& operator=(const WindowAnswerer&) = delete;
    ~WindowAnswerer();
    // How many windows were answered.
    int Answered() const { return m_answered; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timerId, DWORD);
    void Look();

    std::function<bool(HWND)> m_matches;
    std::function<void(HWND)> m_answer;
    UINT_PTR m_timer = 0;
    int m_answered = 0;
    bool m_busy = false;
    std::vector<HWND> m_seen;
};

// Reads and acknowledges the matching windows of this thread as a user reads an error box: the
// text of its text control is kept, then OK is pressed. By default it matches the windows that
// hold the text control and an OK button.
class BoxReader {
public:
    explicit BoxReader(int textControlId, std::function<bool(HWND)> matches = nullptr);
    // The texts read, oldest first.
    const std::vector<std::string>& Texts() const { return m_texts; }
    void Clear() { m_texts.clear(); }
    int Answered() const { return m_answerer.Answered(); }

private:
    std::vector<std::string> m_texts;
    WindowAnswerer m_answerer;
};

// Runs a function when a message loop of this thread next dispatches its message, whichever
// loop that is: what an application does from its own window procedure (disable the source,
// say) while a window of the source runs a loop of its own.
class PostedCall {
public:
    PostedCall();
    PostedCall(const PostedCall&) = delete;
    PostedCall& operator=(const PostedCall&) = delete;
    ~PostedCall();
    void Post(std::function<void()> call);
    // How many posted calls ran.
    int Runs() const { return m_runs; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<std::function<void()>> m_calls;
    int m_runs = 0;
};

} // namespace guitest
