#include "settings/BoundedString.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// A buffer with guard bytes on both sides, to see any write outside [0, size).
struct GuardedBuffer
{
    static const char kGuard = '#';
    char bytes[16];
    explicit GuardedBuffer(const char* initial = "")
    {
        memset(bytes, kGuard, sizeof bytes);
        strcpy(bytes + 4, initial);
    }
    char* Data() { return bytes + 4; }
    bool GuardsIntact(size_t size) const
    {
        for (size_t i = 0; i < 4; ++i)
            if (bytes[i] != kGuard)
                return false;
        for (size_t i = 4 + size; i < sizeof bytes; ++i)
            if (bytes[i] != kGuard)
                return false;
        return true;
    }
};
} // namespace

TEST(BoundedCopy, CutsToSizeMinusOneAndTerminates)
{
    GuardedBuffer buffer;
    BoundedCopy(buffer.Data(), "abcdef", 4);
    EXPECT_STREQ("abc", buffer.Data());
    EXPECT_TRUE(buffer.GuardsIntact(4));
}

TEST(BoundedCopy, ZeroFillsAfterAShortSourceAndTakesNullAsEmpty)
{
    GuardedBuffer buffer;
    BoundedCopy(buffer.Data(), "ab", 6);
    EXPECT_EQ(0, memcmp(buffer.Data(), "ab\0\0\0\0", 6));
    EXPECT_TRUE(buffer.GuardsIntact(6));

    BoundedCopy(buffer.Data(), nullptr, 6);
    EXPECT_STREQ("", buffer.Data());
}

TEST(BoundedCopy, NullDestinationOrSizeZeroWritesNothing)
{
    GuardedBuffer buffer("xy");
    BoundedCopy(buffer.Data(), "abc", 0);
    EXPECT_STREQ("xy", buffer.Data());
    BoundedCopy(nullptr, "abc", 4); // must not crash
}

TEST(BoundedAppend, AppendsWhatFitsAndTerminates)
{
    GuardedBuffer buffer("ab");
    BoundedAppend(buffer.Data(), "cde", 4);
    EXPECT_STREQ("abc", buffer.Data());
    EXPECT_TRUE(buffer.GuardsIntact(4));

    GuardedBuffer roomy("ab");
    BoundedAppend(roomy.Data(), "cd", 8);
    EXPECT_STREQ("abcd", roomy.Data());
    BoundedAppend(roomy.Data(), nullptr, 8);
    EXPECT_STREQ("abcd", roomy.Data());
}

TEST(BoundedAppend, FullOrUnterminatedDestinationIsNeverOverrun)
{
    GuardedBuffer full("abc");
    BoundedAppend(full.Data(), "xyz", 4);
    EXPECT_STREQ("abc", full.Data());
    EXPECT_TRUE(full.GuardsIntact(4));

    // Six characters in a buffer declared as four bytes: no terminator within the size.
    GuardedBuffer overlong("abcdef");
    BoundedAppend(overlong.Data(), "xyz", 4);
    EXPECT_EQ(0, memcmp(overlong.Data(), "abc\0", 4));

    GuardedBuffer untouched("ab");
    BoundedAppend(untouched.Data(), "cd", 0);
    EXPECT_STREQ("ab", untouched.Data());
}
