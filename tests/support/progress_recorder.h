// A real small window with the progress dialog's two controls, recording in order every name the
// engine shows on IDC_PROGRESS_NAME (a static text) and every PBM_STEPIT on IDC_PROGRESS_BAR (a
// progress bar, range 0 to 65535, step 1).
//
// Create it on the thread that will call the engine; the engine's messages then arrive directly.
// When the engine runs on another thread, the creating thread must pump messages meanwhile:
// RunWhilePumping does that.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct ProgressEvent {
    enum class Kind { Name, Step };
    Kind kind;
    std::wstring name; // the text shown, for Kind::Name
    bool operator==(const ProgressEvent&) const = default;
};

ProgressEvent ShownName(const std::wstring& name);
ProgressEvent Stepped();

class ProgressRecorder {
public:
    ProgressRecorder();
    ~ProgressRecorder();
    ProgressRecorder(const ProgressRecorder&) = delete;
    ProgressRecorder& operator=(const ProgressRecorder&) = delete;

    // The window to hand to the engine as its progress dialog; null when it could not be made.
    HWND& Window() { return window_; }

    const std::vector<ProgressEvent>& Events() const { return events_; }
    std::vector<std::wstring> Names() const;
    int Steps() const;
    // The bar's own position and the static's own text, read back from the controls.
    int BarPosition() const;
    std::wstring ShownText() const;

    // Called right after each recorded step, on the window's thread (for example to cancel).
    void OnStep(std::function<void()> callback) { onStep_ = std::move(callback); }

private:
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);

    HWND window_ = nullptr;
    std::vector<ProgressEvent> events_;
    std::function<void()> onStep_;
};

// Runs body on a fresh thread (its random state starts at 1) while this thread pumps its
// messages, until body returns.
void RunWhilePumping(const std::function<void()>& body);
