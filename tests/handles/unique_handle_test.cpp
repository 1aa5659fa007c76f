#include "handles/kernel_handle.h"
#include "handles/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

std::vector<int> closed;

// Handles are numbers; zero is empty and -1 is what a failed open hands out.
struct CountedTraits {
    using Handle = int;
    static Handle Empty() { return 0; }
    static bool IsValid(Handle handle) { return handle != 0 && handle != -1; }
    static void Close(Handle handle) { closed.push_back(handle); }
};

using Counted = UniqueHandle<CountedTraits>;

class UniqueHandleTest : public testing::Test {
protected:
    void SetUp() override { closed.clear(); }
};

TEST_F(UniqueHandleTest, AMovedHandleIsClosedOnceByItsLastOwner) {
    {
        Counted first(7);
        Counted second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(7, second.Get());
        Counted third;
        third = std::move(second);
        EXPECT_TRUE(closed.empty()) << "closed while still owned";
    }
    EXPECT_EQ(std::vector<int>{7}, closed);
}

TEST_F(UniqueHandleTest, WhatAnOwnerHeldIsClosedWhenItTakesAnother) {
    Counted owner(1);
    owner = Counted(2);
    EXPECT_EQ(std::vector<int>{1}, closed);
    *owner.Receive() = 3;
    EXPECT_EQ((std::vector<int>{1, 2}), closed);
    owner.Reset();
    owner.Reset();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), closed);
    { const Counted failedOpen(-1); }
    EXPECT_EQ((std::vector<int>{1, 2, 3}), closed) << "a failed open's value was closed";
}

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

TEST_F(UniqueHandleTest, AKernelHandleStaysOpenUntilItsLastOwnerEnds) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event) << "CreateEventW failed, error " << GetLastError();
    {
        KernelHandle last;
        {
            KernelHandle first(event);
            last = std::move(first);
        }
        EXPECT_TRUE(IsOpen(event)) << "closed by the owner it was moved from";
    }
    EXPECT_FALSE(IsOpen(event)) << "left open by its last owner";
}

} // namespace
