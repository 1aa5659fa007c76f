// The companions' meeting point in one logon session: a mutex that makes "is there a collector?"
// and "I am the collector" one step, and the collector's pipe. Both are named after the session
// and open to the current user alone.
#pragma once

#include "handles/kernel_handle.h"
#include "handles/local_memory.h"

#include <windows.h>

#include <optional>
#include <string>

std::wstring ChannelMutexName(DWORD sessionId);
std::wstring ChannelPipeName(DWORD sessionId);

// A security descriptor whose DACL grants all access to the current user's SID and to no one
// else, neither inherited nor defaulted; empty when the user cannot be read.
LocalMemory<void> CurrentUserOnlySecurity();

// The mutex, made or opened with security.
KernelHandle OpenChannelMutex(const std::wstring& name, PSECURITY_DESCRIPTOR security);

// The collector's end of the pipe, one instance at a time, bytes, overlapped; empty
// when the name exists already (another collector, or someone else first).
KernelHandle CreateCollectorPipe(const std::wstring& name, PSECURITY_DESCRIPTOR security);

// A companion's hand-over to the collector.
enum class HandOver {
    Taken,
    // No collector's pipe: the caller becomes the collector.
    NoCollector,
    Failed,
};
// Sends the packed items through the pipe and waits for the collector's acknowledgement; waits
// for the pipe while the collector serves another companion.
HandOver HandToCollector(const std::wstring& name, const std::wstring& packedItems);

// The collector's side of one connected companion: its packed items, after they were
// acknowledged; empty when the exchange failed.
std::optional<std::wstring> ReceiveFromCompanion(HANDLE pipe, HANDLE event);
