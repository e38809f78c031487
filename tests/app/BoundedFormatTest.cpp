#include "app/BoundedFormat.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(BoundedFormat, FormatsWithinTheBufferAndReturnsTheCount)
{
    char buffer[260];
    EXPECT_EQ(24, BoundedFormat(buffer, sizeof buffer, "Kerrowind\\%s\\ConfigApp", "DRAV"));
    EXPECT_STREQ("Kerrowind\\DRAV\\ConfigApp", buffer);
    EXPECT_EQ(0, BoundedFormat(buffer, sizeof buffer, nullptr));
    EXPECT_STREQ("", buffer);
}

TEST(BoundedFormat, CutsWhatDoesNotFitAndAlwaysTerminates)
{
    char buffer[8];
    memset(buffer, '#', sizeof buffer);
    EXPECT_LT(BoundedFormat(buffer, 4, "%s", "abcdef"), 0);
    EXPECT_STREQ("abc", buffer);
    EXPECT_EQ('#', buffer[4]) << "written past the given size";

    // Exactly size characters: the formatter writes no terminator, the last byte is forced.
    EXPECT_EQ(4, BoundedFormat(buffer, 4, "%s", "abcd"));
    EXPECT_STREQ("abc", buffer);
}

TEST(BoundedFormat, RefusesANullBufferOrASizeBelowOne)
{
    char buffer[4] = "xyz";
    EXPECT_EQ(-1, BoundedFormat(nullptr, 4, "abc"));
    EXPECT_EQ(-1, BoundedFormat(buffer, 0, "abc"));
    EXPECT_EQ(-1, BoundedFormat(buffer, -5, "abc"));
    EXPECT_STREQ("xyz", buffer);
}
