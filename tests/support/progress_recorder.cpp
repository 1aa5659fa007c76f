#include "support/progress_recorder.h"

#include "resource.h"

#include <commctrl.h>

#include <thread>

namespace {

constexpr wchar_t RecorderClass[] = L"FerroletProgressRecorder";
constexpr int BarMaximum = 65535;

void RegisterRecorderClass() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = RecorderClass;
    RegisterClassExW(&windowClass);
}

} // namespace

ProgressEvent ShownName(const std::wstring& name) {
    return ProgressEvent{ProgressEvent::Kind::Name, name};
}

ProgressEvent Stepped() {
    return ProgressEvent{ProgressEvent::Kind::Step, {}};
}

ProgressRecorder::ProgressRecorder() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    RegisterRecorderClass();
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    window_ = CreateWindowExW(0, RecorderClass, L"Progress", WS_OVERLAPPEDWINDOW, 0, 0, 300, 120,
                              nullptr, nullptr, instance, nullptr);
    if (!window_) {
        return;
    }
    HWND name = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 270, 20, window_,
                                reinterpret_cast<HMENU>(IDC_PROGRESS_NAME), instance, nullptr);
    HWND bar =
        CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, 10, 40, 270, 20, window_,
                        reinterpret_cast<HMENU>(IDC_PROGRESS_BAR), instance, nullptr);
    SendMessageW(bar, PBM_SETRANGE32, 0, BarMaximum);
    SendMessageW(bar, PBM_SETSTEP, 1, 0);
    SetWindowSubclass(name, ControlProc, IDC_PROGRESS_NAME, reinterpret_cast<DWORD_PTR>(this));
    SetWindowSubclass(bar, ControlProc, IDC_PROGRESS_BAR, reinterpret_cast<DWORD_PTR>(this));
}

ProgressRecorder::~ProgressRecorder() {
    if (window_) {
        RemoveWindowSubclass(GetDlgItem(window_, IDC_PROGRESS_NAME), ControlProc,
                             IDC_PROGRESS_NAME);
        RemoveWindowSubclass(GetDlgItem(window_, IDC_PROGRESS_BAR), ControlProc, IDC_PROGRESS_BAR);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK ProgressRecorder::ControlProc(HWND control, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    auto* recorder = reinterpret_cast<ProgressRecorder*>(self);
    if (id == IDC_PROGRESS_NAME && message == WM_SETTEXT) {
        const auto* text = reinterpret_cast<const wchar_t*>(lParam);
        recorder->events_.push_back(ShownName(text ? text : L""));
    }
    if (id == IDC_PROGRESS_BAR && message == PBM_STEPIT) {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        recorder->events_.push_back(Stepped());
        if (recorder->onStep_) {
            recorder->onStep_();
        }
        return result;
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

std::vector<std::wstring> ProgressRecorder::Names() const {
    std::vector<std::wstring> names;
    for (const ProgressEvent& event : events_) {
        if (event.kind == ProgressEvent::Kind::Name) {
            names.push_back(event.name);
        }
    }
    return names;
}

int ProgressRecorder::Steps() const {
    int steps = 0;
    for (const ProgressEvent& event : events_) {
        steps += event.kind == ProgressEvent::Kind::Step ? 1 : 0;
    }
    return steps;
}

int ProgressRecorder::BarPosition() const {
    return static_cast<int>(SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_GETPOS, 0, 0));
}

std::wstring ProgressRecorder::ShownText() const {
    wchar_t text[1024] = {};
    GetDlgItemTextW(window_, IDC_PROGRESS_NAME, text, 1024);
    return text;
}

void RunWhilePumping(const std::function<void()>& body) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread worker([&] {
        body();
        SetEvent(done);
    });
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    worker.join();
    CloseHandle(done);
}
