#include "support/linux_side.h"

#include "handles/kernel_handle.h"
#include "support/temp_folder.h"

#include <windows.h>

namespace {

std::wstring TempFileName(const wchar_t* kind) {
    wchar_t base[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, base);
    static LONG counter = 0;
    return std::wstring(base) + L"ferrolet-" + kind + L"-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    return ok && written == bytes.size();
}

std::wstring WideOf(const std::string& utf8) {
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring result(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), result.data(),
                        size);
    return result;
}

// The Windows path of a Linux file (Wine maps the Linux root as a drive).
std::wstring DosPathOf(const char* unixPath) {
    using GetDosFileName = wchar_t*(__cdecl*)(const char*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto convert = kernel ? reinterpret_cast<GetDosFileName>(reinterpret_cast<void*>(
                                GetProcAddress(kernel, "wine_get_dos_file_name")))
                          : nullptr;
    wchar_t* dosPath = convert ? convert(unixPath) : nullptr;
    if (!dosPath) {
        return {};
    }
    std::wstring result(dosPath);
    HeapFree(GetProcessHeap(), 0, dosPath);
    return result;
}

// The Linux path of a Windows path, taken literally (a trailing dot or space kept).
std::string LiteralUnixPathOf(const std::wstring& path) {
    return UnixPathOf(path.starts_with(L"\\\\?\\") ? path : L"\\\\?\\" + path);
}

std::string ReadSmallFile(const std::wstring& path) {
    const KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                        0, nullptr));
    if (!file) {
        return {};
    }
    char buffer[64] = {};
    DWORD got = 0;
    ReadFile(file.Get(), buffer, sizeof buffer - 1, &got, nullptr);
    return std::string(buffer, got);
}

} // namespace

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Utf8Of(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size,
                        nullptr, nullptr);
    return result;
}

bool RunLinuxShell(const std::string& script) {
    // A Linux process started from Wine gives no handle to wait on, so the script reports its
    // exit status in a file that appears only once it is complete.
    const std::wstring scriptPath = TempFileName(L"script");
    const std::wstring donePath = TempFileName(L"done");
    const std::string doneUnix = UnixPathOf(donePath);
    const std::string scriptUnix = UnixPathOf(scriptPath);
    if (doneUnix.empty() || scriptUnix.empty()) {
        return false;
    }
    const std::string wrapped = "(\n" + script + "\n)\necho $? > " + ShellQuote(doneUnix + ".tmp") +
                                "\nmv " + ShellQuote(doneUnix + ".tmp") + " " +
                                ShellQuote(doneUnix) + "\n";
    if (!WriteBytes(scriptPath, wrapped)) {
        return false;
    }
    std::wstring commandLine = L"sh \"" + WideOf(scriptUnix) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::wstring shell = DosPathOf("/bin/sh");
    if (shell.empty() || !CreateProcessW(shell.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                         0, nullptr, nullptr, &startup, &process)) {
        DeleteFileW(scriptPath.c_str());
        return false;
    }
    const KernelHandle started(process.hProcess);
    const KernelHandle startedThread(process.hThread);
    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (GetFileAttributesW(donePath.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetTickCount64() < deadline) {
        Sleep(5);
    }
    const std::string status = ReadSmallFile(donePath);
    DeleteFileW(donePath.c_str());
    DeleteFileW(scriptPath.c_str());
    return status == "0\n";
}

bool MakeLinuxSymlink(const std::wstring& target, const std::wstring& linkFolder,
                      const std::wstring& linkName) {
    const std::string targetUnix = LiteralUnixPathOf(target);
    const std::string folderUnix = LiteralUnixPathOf(linkFolder);
    if (targetUnix.empty() || folderUnix.empty()) {
        return false;
    }
    return RunLinuxShell("ln -s " + ShellQuote(targetUnix) + " " +
                         ShellQuote(folderUnix + "/" + Utf8Of(linkName)));
}

bool RemoveLinuxSymlink(const std::wstring& folder, const std::wstring& name) {
    const std::string folderUnix = LiteralUnixPathOf(folder);
    if (folderUnix.empty()) {
        return false;
    }
    const std::string link = ShellQuote(folderUnix + "/" + Utf8Of(name));
    return RunLinuxShell("test -L " + link + " && rm -f -- " + link);
}

bool MakeLinuxFolder(const std::wstring& folder, const std::wstring& name) {
    const std::string folderUnix = LiteralUnixPathOf(folder);
    if (folderUnix.empty()) {
        return false;
    }
    return RunLinuxShell("mkdir " + ShellQuote(folderUnix + "/" + Utf8Of(name)));
}

bool MakeLinuxFile(const std::wstring& folder, const std::wstring& name,
                   const std::string& contents) {
    const std::string folderUnix = LiteralUnixPathOf(folder);
    if (folderUnix.empty()) {
        return false;
    }
    return RunLinuxShell("printf '%s' " + ShellQuote(contents) + " > " +
                         ShellQuote(folderUnix + "/" + Utf8Of(name)));
}
