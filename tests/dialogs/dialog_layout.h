// Reading back where a dialog and its direct children are, and catching that layout just before
// and just after a dialog's WM_INITDIALOG.
#pragma once

#include "dialogs/dialog_font_scaler.h"
#include "handles/windows_hook.h"

#include <windows.h>

#include <string>
#include <vector>

struct ChildLayout {
    HWND window = nullptr;
    int id = 0;
    RECT place{};  // window rectangle in the dialog's client coordinates
    RECT client{}; // the child's own client rectangle
    HFONT font = nullptr;
};

struct DialogLayout {
    HWND dialog = nullptr;
    std::wstring caption;
    RECT window{};        // screen coordinates
    RECT client{};        // client rectangle
    POINT clientOrigin{}; // screen position of the client area's top-left corner
    RECT baseUnits{};     // MapDialogRect of (0, 0, 4, 8)
    HFONT font = nullptr;
    std::vector<ChildLayout> children; // in z-order
};

inline DialogLayout ReadDialogLayout(HWND dialog) {
    DialogLayout layout;
    layout.dialog = dialog;
    wchar_t caption[256] = {};
    GetWindowTextW(dialog, caption, 256);
    layout.caption = caption;
    GetWindowRect(dialog, &layout.window);
    GetClientRect(dialog, &layout.client);
    ClientToScreen(dialog, &layout.clientOrigin);
    layout.baseUnits = RECT{0, 0, 4, 8};
    MapDialogRect(dialog, &layout.baseUnits);
    layout.font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ChildLayout entry;
        entry.window = child;
        entry.id = GetDlgCtrlID(child);
        GetWindowRect(child, &entry.place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&entry.place), 2);
        GetClientRect(child, &entry.client);
        entry.font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        layout.children.push_back(entry);
    }
    return layout;
}

inline const ChildLayout* FindChild(const DialogLayout& layout, HWND child) {
    for (const ChildLayout& entry : layout.children) {
        if (entry.window == child) {
            return &entry;
        }
    }
    return nullptr;
}

// The scaler's record as plain data: a copy of the record itself would run its exit step.
struct ScalerFields {
    HWND dialog = nullptr;
    int baseUnitX = 0;
    int baseUnitY = 0;
    int clientWidthDlu = 0;
    int clientHeightDlu = 0;
    int fontCharWidth = 0;
    int fontCharHeight = 0;
    HFONT scaledFont = nullptr;
    HFONT previousFont = nullptr;
};

inline ScalerFields FieldsOf(const DialogFontScaler& record) {
    return ScalerFields{record.dialog,         record.baseUnitX,       record.baseUnitY,
                        record.clientWidthDlu, record.clientHeightDlu, record.fontCharWidth,
                        record.fontCharHeight, record.scaledFont,      record.previousFont};
}

// Height and average width of a font, measured apart from the scaler.
struct FontUnits {
    int charWidth = 0;
    int charHeight = 0;
};

inline FontUnits MeasureFont(HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const wchar_t letters[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    SIZE extent{};
    GetTextExtentPoint32W(dc, letters, 52, &extent);
    SelectObject(dc, old);
    DeleteDC(dc);
    return FontUnits{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

inline LOGFONTW FontData(HFONT font) {
    LOGFONTW data{};
    GetObjectW(font, sizeof data, &data);
    return data;
}

// What one dialog looked like when the dialog manager handed it to its procedure, what it looked
// like when the procedure had handled WM_INITDIALOG, and the scaler's record at that moment.
struct InitDialogCapture {
    DialogLayout before;
    DialogLayout after;
    ScalerFields record;
    // The fonts as they were then: the dialog manager deletes the template font with its dialog.
    LOGFONTW previousFontData{};
    LOGFONTW scaledFontData{};
    FontUnits scaledFontUnits;
};

// While alive, captures every WM_INITDIALOG on this thread.
class InitDialogRecorder {
public:
    InitDialogRecorder()
        : before_(SetWindowsHookExW(WH_CALLWNDPROC, Before, nullptr, GetCurrentThreadId())),
          after_(SetWindowsHookExW(WH_CALLWNDPROCRET, After, nullptr, GetCurrentThreadId())) {
        Current() = this;
    }
    ~InitDialogRecorder() { Current() = nullptr; }
    InitDialogRecorder(const InitDialogRecorder&) = delete;
    InitDialogRecorder& operator=(const InitDialogRecorder&) = delete;

    bool Hooked() const { return before_ && after_; }
    const std::vector<InitDialogCapture>& Captures() const { return captures_; }

private:
    static InitDialogRecorder*& Current() {
        thread_local InitDialogRecorder* current = nullptr;
        return current;
    }

    static LRESULT CALLBACK Before(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITDIALOG && Current()) {
            InitDialogCapture capture;
            capture.before = ReadDialogLayout(call->hwnd);
            Current()->captures_.push_back(capture);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static LRESULT CALLBACK After(int code, WPARAM wParam, LPARAM lParam) {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITDIALOG && Current()) {
            for (InitDialogCapture& capture : Current()->captures_) {
                if (capture.before.dialog == call->hwnd && !capture.after.dialog) {
                    capture.after = ReadDialogLayout(call->hwnd);
                    capture.record = FieldsOf(FontScaler);
                    capture.previousFontData = FontData(capture.before.font);
                    if (capture.record.scaledFont) {
                        capture.scaledFontData = FontData(capture.record.scaledFont);
                        capture.scaledFontUnits = MeasureFont(capture.record.scaledFont);
                    }
                }
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    WindowsHook before_;
    WindowsHook after_;
    std::vector<InitDialogCapture> captures_;
};
