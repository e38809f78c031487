#include "display/PriorChoiceLines.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

TEST(PriorChoiceLines, NumbersBeyondAnIntAreClampedOnEveryPlatform)
{
    PriorChoiceLines prior;
    // 2^32 + 1024 would wrap to 1024 where a long has 64 bits.
    prior.Take("\"ScreenWidth\" \"4294968320\"\n");
    prior.Take("\"ScreenHeight\" \"-4294966528\"\n");
    EXPECT_EQ(INT_MAX, prior.Width());
    EXPECT_EQ(INT_MIN, prior.Height());
    EXPECT_EQ(16, prior.BitDepth());
}

TEST(PriorChoiceLines, WantsLinesUntilAllFourKeysWereSeen)
{
    PriorChoiceLines prior;
    for (const char* line : {"BitDepth 32\n", "screenheight 600\n", "\"DEVICENAME\" \"x\"\n"})
    {
        prior.Take(line);
        EXPECT_TRUE(prior.WantsMore()) << line;
    }
    prior.Take("ScreenWidthless\n");
    EXPECT_FALSE(prior.WantsMore());
}
