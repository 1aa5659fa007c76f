// Reads the running Ferrolet main window from another process, for the black-box test:
//   window_probe rows       prints every shred-list row as name TAB path TAB size, one a line
//   window_probe center ID  prints the screen centre "x y" of the control with that id
//   window_probe count      prints how many main windows are open
//   window_probe close      asks every main window to close
// The list's texts live in the other process, so each request goes through a buffer allocated
// there. Exit code 0 on success, 1 when the window or control is missing.
#include "resource.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class RemoteProcess {
public:
    explicit RemoteProcess(DWORD id)
        : process_(
              OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id)) {}
    ~RemoteProcess() {
        if (process_) {
            CloseHandle(process_);
        }
    }
    RemoteProcess(const RemoteProcess&) = delete;
    RemoteProcess& operator=(const RemoteProcess&) = delete;
    HANDLE Get() const { return process_; }

private:
    HANDLE process_;
};

class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t bytes)
        : process_(process),
          address_(VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (address_) {
            VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        }
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* Get() const { return static_cast<char*>(address_); }

private:
    HANDLE process_;
    void* address_;
};

std::string Utf8(const std::wstring& text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                          nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), result.data(),
                        bytes, nullptr, nullptr);
    return result;
}

constexpr int TextCapacity = 32768;

std::wstring RemoteItemText(HWND list, HANDLE process, int row, int column) {
    RemoteMemory memory(process, sizeof(LVITEMW) + TextCapacity * sizeof(wchar_t));
    if (!memory.Get()) {
        return {};
    }
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = reinterpret_cast<wchar_t*>(memory.Get() + sizeof(LVITEMW));
    item.cchTextMax = TextCapacity;
    WriteProcessMemory(process, memory.Get(), &item, sizeof item, nullptr);
    const auto length = static_cast<size_t>(SendMessageW(
        list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(memory.Get())));
    std::wstring text(length < TextCapacity ? length : TextCapacity - 1, L'\0');
    ReadProcessMemory(process, item.pszText, text.data(), text.size() * sizeof(wchar_t), nullptr);
    return text;
}

int PrintRows(HWND window) {
    const HWND list = GetDlgItem(window, IDC_SHRED_LIST);
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    RemoteProcess process(processId);
    if (!list || !process.Get()) {
        return 1;
    }
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::printf("%s\t%s\t%s\n", Utf8(RemoteItemText(list, process.Get(), row, 0)).c_str(),
                    Utf8(RemoteItemText(list, process.Get(), row, 1)).c_str(),
                    Utf8(RemoteItemText(list, process.Get(), row, 2)).c_str());
    }
    return 0;
}

int PrintCenter(HWND window, int id) {
    const HWND control = GetDlgItem(window, id);
    RECT rect = {};
    if (!control || !GetWindowRect(control, &rect)) {
        return 1;
    }
    std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}

int EachMainWindow(bool close) {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"#32770", L"Ferrolet Free v1.0"))) {
        ++count;
        if (close) {
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
    }
    std::printf("%d\n", count);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "count") == 0 || std::strcmp(argv[1], "close") == 0)) {
        const int result = EachMainWindow(std::strcmp(argv[1], "close") == 0);
        std::fflush(stdout);
        return result;
    }
    const HWND window = FindWindowW(L"#32770", L"Ferrolet Free v1.0");
    if (!window || argc < 2) {
        return 1;
    }
    int result = 1;
    if (std::strcmp(argv[1], "rows") == 0) {
        result = PrintRows(window);
    } else if (std::strcmp(argv[1], "center") == 0 && argc == 3) {
        result = PrintCenter(window, std::atoi(argv[2]));
    }
    std::fflush(stdout);
    return result;
}
