// One change of many rows to the shred list: the list draws nothing until the change is done and
// is then repainted once, with its children. Should the change outlast a moment, the window shows
// the wait cursor and refuses input until the end, and still reads its messages often enough that
// the system never takes it for hung.
#pragma once

#include <windows.h>

// How long a change runs before the window shows that it works.
inline constexpr ULONGLONG ListFillingMomentMs = 250;
// How often a long change reads the window's messages; the system marks a window that reads none
// for five seconds as not responding.
inline constexpr ULONGLONG ListFillingPumpMs = 100;

class ListFilling {
public:
    // window: the top-level window that owns list.
    ListFilling(HWND window, HWND list);
    // Finish(-1), unless the change finished already.
    ~ListFilling();
    ListFilling(const ListFilling&) = delete;
    ListFilling& operator=(const ListFilling&) = delete;

    // Between two rows.
    void Tick();
    // The list draws again, scrolled to show rowInView unless that is -1, and is repainted; the
    // window takes input again.
    void Finish(int rowInView);

private:
    void StartBusy();
    void ReadMessages();

    HWND window_;
    HWND list_;
    ULONGLONG start_;
    ULONGLONG lastRead_;
    bool busy_ = false;
    bool finished_ = false;
    // Whether this change disabled the window, and where its focus was.
    bool disabled_ = false;
    HWND focus_ = nullptr;
};

// The list draws nothing until RestartListDrawing, which turns its drawing back on, scrolls it to
// show rowInView unless that is -1, and has it repainted with its children.
void StopListDrawing(HWND list);
void RestartListDrawing(HWND list, int rowInView);

// WM_SETCURSOR of a window: shows the wait cursor and returns true while a long change of its list
// runs; false otherwise, when the cursor is the window's own business.
bool ShowListFillingCursor(HWND window);
