#include "companion/private_channel.h"

#include <sddl.h>

#include <cstdint>
#include <vector>

namespace {

// Each side waits this long for one step of an exchange; a companion waits this long in all for
// the collector to be free.
constexpr DWORD ExchangeTimeoutMs = 10000;
constexpr ULONGLONG CollectorBusyLimitMs = 60000;
constexpr DWORD PipeBufferBytes = 65536;
constexpr BYTE Acknowledgement = 1;
// The items of one companion, far more than any command line holds.
constexpr std::uint32_t MaxItemBytes = 64 * 1024 * 1024;

// The result of an overlapped read or write that started (or failed to) with started.
DWORD Complete(HANDLE pipe, OVERLAPPED& overlapped, BOOL started, DWORD* bytes) {
    if (!started && GetLastError() != ERROR_IO_PENDING) {
        return GetLastError();
    }
    if (WaitForSingleObject(overlapped.hEvent, ExchangeTimeoutMs) != WAIT_OBJECT_0) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &overlapped, bytes, TRUE);
        return ERROR_TIMEOUT;
    }
    return GetOverlappedResult(pipe, &overlapped, bytes, FALSE) ? ERROR_SUCCESS : GetLastError();
}

DWORD ReadOverlapped(HANDLE pipe, HANDLE event, void* buffer, DWORD size, DWORD* bytes) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    const BOOL started = ReadFile(pipe, buffer, size, nullptr, &overlapped);
    return Complete(pipe, overlapped, started, bytes);
}

DWORD WriteOverlapped(HANDLE pipe, HANDLE event, const void* buffer, DWORD size) {
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    DWORD bytes = 0;
    const BOOL started = WriteFile(pipe, buffer, size, nullptr, &overlapped);
    return Complete(pipe, overlapped, started, &bytes);
}

// Reads exactly size bytes, however the pipe hands them out.
bool ReadWhole(HANDLE pipe, HANDLE event, void* buffer, DWORD size) {
    auto at = static_cast<char*>(buffer);
    while (size > 0) {
        DWORD bytes = 0;
        if (ReadOverlapped(pipe, event, at, size, &bytes) != ERROR_SUCCESS || bytes == 0) {
            return false;
        }
        at += bytes;
        size -= bytes;
    }
    return true;
}

std::wstring UserSidText() {
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) {
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    LocalMemory<wchar_t> text;
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size) ||
        !ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid,
                                text.Receive())) {
        return {};
    }
    return text.Get();
}

} // namespace

std::wstring ChannelMutexName(DWORD sessionId) {
    return L"Local\\Ferrolet.Menu.Session" + std::to_wstring(sessionId);
}

std::wstring ChannelPipeName(DWORD sessionId) {
    return L"\\\\.\\pipe\\Ferrolet.Menu.Session" + std::to_wstring(sessionId);
}

LocalMemory<void> CurrentUserOnlySecurity() {
    LocalMemory<void> security;
    const std::wstring sid = UserSidText();
    if (sid.empty()) {
        return security;
    }
    // Protected (P): nothing inherited; one ACE allowing (A) all access (GA) to the user.
    const std::wstring descriptor = L"D:P(A;;GA;;;" + sid + L")";
    ConvertStringSecurityDescriptorToSecurityDescriptorW(descriptor.c_str(), SDDL_REVISION_1,
                                                         security.Receive(), nullptr);
    return security;
}

KernelHandle OpenChannelMutex(const std::wstring& name, PSECURITY_DESCRIPTOR security) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
    return KernelHandle(CreateMutexW(&attributes, FALSE, name.c_str()));
}

KernelHandle CreateCollectorPipe(const std::wstring& name, PSECURITY_DESCRIPTOR security) {
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, security, FALSE};
    return KernelHandle(CreateNamedPipeW(
        name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE | FILE_FLAG_OVERLAPPED,
        PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
        PipeBufferBytes, PipeBufferBytes, 0, &attributes));
}

HandOver HandToCollector(const std::wstring& name, const std::wstring& packedItems) {
    const ULONGLONG giveUpAt = GetTickCount64() + CollectorBusyLimitMs;
    KernelHandle pipe;
    while (!pipe) {
        pipe = KernelHandle(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
        const DWORD error = pipe ? ERROR_SUCCESS : GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) {
            return HandOver::NoCollector;
        }
        if (!pipe && (error != ERROR_PIPE_BUSY || GetTickCount64() > giveUpAt)) {
            return HandOver::Failed;
        }
        if (!pipe) {
            WaitNamedPipeW(name.c_str(), ExchangeTimeoutMs);
        }
    }
    // The length first, then the packed items.
    const auto length = static_cast<std::uint32_t>(packedItems.size() * sizeof(wchar_t));
    std::string message(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(packedItems.data()), length);
    DWORD bytes = 0;
    BYTE answer = 0;
    const bool taken = WriteFile(pipe.Get(), message.data(), static_cast<DWORD>(message.size()),
                                 &bytes, nullptr) &&
                       bytes == message.size() &&
                       ReadFile(pipe.Get(), &answer, sizeof answer, &bytes, nullptr) &&
                       bytes == sizeof answer && answer == Acknowledgement;
    return taken ? HandOver::Taken : HandOver::Failed;
}

std::optional<std::wstring> ReceiveFromCompanion(HANDLE pipe, HANDLE event) {
    std::uint32_t bytes = 0;
    if (!ReadWhole(pipe, event, &bytes, sizeof bytes) || bytes > MaxItemBytes) {
        return std::nullopt;
    }
    std::wstring packed(bytes / sizeof(wchar_t), L'\0');
    if (!ReadWhole(pipe, event, packed.data(), bytes) ||
        WriteOverlapped(pipe, event, &Acknowledgement, sizeof Acknowledgement) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    // The companion closes its end once it has read the acknowledgement; disconnecting sooner
    // would throw the acknowledgement away.
    BYTE rest = 0;
    DWORD read = 0;
    ReadOverlapped(pipe, event, &rest, sizeof rest, &read);
    return packed;
}
