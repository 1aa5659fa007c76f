// A window with one static control to make a link of or fit to its text, and the font to do it
// in, for the link's tests and the fitting's.
#pragma once

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

inline constexpr int kLinkId = 4001;
inline constexpr int kSiblingId = 4002;
inline constexpr wchar_t kParentClass[] = L"FerroletLinkTestParent";

// The commands the parent window received.
inline std::vector<WPARAM> parentCommands;

inline LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        parentCommands.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

inline void RegisterParentClass() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ParentProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kParentClass;
    RegisterClassW(&windowClass);
}

// A top-level window with one static control (and a sibling created after it), placed on the
// screen at a known spot.
class LinkWindow {
public:
    LinkWindow(const std::wstring& text, DWORD staticStyle, SIZE controlSize, bool captioned,
               HFONT font)
        : font_(font) {
        RegisterParentClass();
        const DWORD style = WS_POPUP | WS_VISIBLE | (captioned ? WS_CAPTION | WS_SYSMENU : 0);
        const DWORD exStyle = captioned ? WS_EX_DLGMODALFRAME : 0;
        parent_ = CreateWindowExW(exStyle, kParentClass, L"Link test", style, 120, 90, 480, 260,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        control_ = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | staticStyle,
                                   kLeft, kTop, controlSize.cx, controlSize.cy, parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLinkId)),
                                   GetModuleHandleW(nullptr), nullptr);
        sibling_ =
            CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 200, 20, 10, parent_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSiblingId)),
                            GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        UpdateWindow(parent_);
    }
    ~LinkWindow() {
        if (IsWindow(parent_)) {
            DestroyWindow(parent_);
        }
    }
    LinkWindow(const LinkWindow&) = delete;
    LinkWindow& operator=(const LinkWindow&) = delete;

    HWND Parent() const { return parent_; }
    HWND Control() const { return control_; }
    HWND Sibling() const { return sibling_; }

    // The control's window rectangle in the parent's client coordinates.
    RECT Place() const {
        RECT place{};
        GetWindowRect(control_, &place);
        MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    POINT ScreenCentre() const {
        RECT place{};
        GetWindowRect(control_, &place);
        return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    }

    static constexpr int kLeft = 40;
    static constexpr int kTop = 30;

private:
    HFONT font_;
    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    HWND sibling_ = nullptr;
};

class TestFont {
public:
    explicit TestFont(bool underlined = true) {
        LOGFONTW data{};
        data.lfHeight = -11;
        data.lfUnderline = underlined;
        wcscpy(data.lfFaceName, L"MS Shell Dlg");
        font_ = CreateFontIndirectW(&data);
    }
    ~TestFont() { DeleteObject(font_); }
    TestFont(const TestFont&) = delete;
    TestFont& operator=(const TestFont&) = delete;
    HFONT Get() const { return font_; }

    // Width (less the overhang) and height of text in this font.
    SIZE Measure(const std::wstring& text) const {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, font_);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        DeleteDC(dc);
        return SIZE{extent.cx - metrics.tmOverhang, extent.cy};
    }

private:
    HFONT font_ = nullptr;
};
