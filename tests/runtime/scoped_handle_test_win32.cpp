// The handle owner under Wine: every handle closed exactly once, by whoever holds it last.
#include "runtime/scoped_handle.h"

#include <gtest/gtest.h>

namespace {

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent() {
    return CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

TEST(ScopedHandle, ClosesOnceWhoeverHoldsItLast) {
    const HANDLE raw = NewEvent();
    {
        KernelHandle first(raw);
        KernelHandle second(std::move(first));
        EXPECT_FALSE(first.IsOpen());
        KernelHandle third;
        third = std::move(second);
        EXPECT_EQ(third.get(), raw);
        EXPECT_TRUE(IsOpen(raw)) << "a move must not close";
    }
    EXPECT_FALSE(IsOpen(raw)) << "the last holder closes";

    const HANDLE replaced = NewEvent();
    const HANDLE kept = NewEvent();
    KernelHandle holder(replaced);
    holder.Attach(kept);
    EXPECT_FALSE(IsOpen(replaced)) << "attaching closes the one held before";
    EXPECT_EQ(holder.Detach(), kept);
    EXPECT_FALSE(holder.IsOpen());
    EXPECT_TRUE(IsOpen(kept)) << "a detached handle is the caller's";

    // The out-parameter of an opening call: the one held before is closed first.
    holder.Attach(kept);
    HANDLE* slot = holder.Receive();
    EXPECT_FALSE(IsOpen(kept));
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), slot, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
    const HANDLE received = holder.get();
    EXPECT_TRUE(IsOpen(received));
    EXPECT_TRUE(holder.Close());
    EXPECT_FALSE(IsOpen(received));
    EXPECT_TRUE(holder.Close()) << "an empty holder has nothing to close";
}

TEST(ScopedHandle, EachKindKnowsItsEmptyValue) {
    // A failed CreateFileA answers INVALID_HANDLE_VALUE and a failed CreateEventA null: neither is
    // a handle to close.
    FileHandle missing(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_TRUE(missing.Close());
    KernelHandle none;
    EXPECT_FALSE(none.IsOpen());
    FileNumber noFile;
    EXPECT_FALSE(noFile.IsOpen());
}

}  // namespace
