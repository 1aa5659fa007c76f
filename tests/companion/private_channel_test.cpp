#include "companion/private_channel.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<BYTE> CurrentUserSid() {
    KernelHandle token;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive());
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> user(size);
    EXPECT_TRUE(GetTokenInformation(token.Get(), TokenUser, user.data(), size, &size));
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
    const auto bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + GetLengthSid(sid));
}

std::wstring TestPipeName() {
    return L"\\\\.\\pipe\\Ferrolet.Test." + std::to_wstring(GetCurrentProcessId());
}

// A pipe's default descriptor lets everyone read: the channel's has one ACE, for the user.
TEST(PrivateChannel, OnlyTheCurrentUserIsAllowedIn) {
    const LocalMemory<void> security = CurrentUserOnlySecurity();
    ASSERT_TRUE(security);
    BOOL present = FALSE;
    BOOL defaulted = TRUE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(security.Get(), &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl);
    EXPECT_FALSE(defaulted);
    ASSERT_EQ(1, acl->AceCount);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, &ace));
    const auto allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, allowed->Header.AceType);
    EXPECT_EQ(static_cast<ACCESS_MASK>(GENERIC_ALL), allowed->Mask);
    std::vector<BYTE> sid = CurrentUserSid();
    EXPECT_TRUE(EqualSid(&allowed->SidStart, sid.data()));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(security.Get(), &control, &revision));
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
}

// Whoever makes the name first is the collector: a second pipe of that name is refused.
TEST(PrivateChannel, TheFirstPipeOfANameIsTheOnlyOne) {
    const LocalMemory<void> security = CurrentUserOnlySecurity();
    const KernelHandle first = CreateCollectorPipe(TestPipeName(), security.Get());
    ASSERT_TRUE(first);
    EXPECT_FALSE(CreateCollectorPipe(TestPipeName(), security.Get()));
}

// Items of any length cross to the collector whole, and the companion hears that they did.
TEST(PrivateChannel, ItemsReachTheCollectorWholeAndAreAcknowledged) {
    EXPECT_EQ(HandOver::NoCollector, HandToCollector(TestPipeName(), L"C:\\x"));
    const LocalMemory<void> security = CurrentUserOnlySecurity();
    const KernelHandle pipe = CreateCollectorPipe(TestPipeName(), security.Get());
    const KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(pipe && event);
    for (const std::size_t length : {std::size_t{5}, std::size_t{100000}}) {
        const std::wstring packed = std::wstring(length, L'p') + L'\0';
        std::optional<std::wstring> received;
        std::thread collector([&] {
            OVERLAPPED connect = {};
            connect.hEvent = event.Get();
            if (!ConnectNamedPipe(pipe.Get(), &connect) && GetLastError() == ERROR_IO_PENDING) {
                WaitForSingleObject(event.Get(), INFINITE);
            }
            received = ReceiveFromCompanion(pipe.Get(), event.Get());
            DisconnectNamedPipe(pipe.Get());
        });
        EXPECT_EQ(HandOver::Taken, HandToCollector(TestPipeName(), packed)) << length;
        collector.join();
        ASSERT_TRUE(received) << length;
        EXPECT_EQ(packed.size(), received->size());
        EXPECT_TRUE(packed == *received) << length;
    }
}

} // namespace
