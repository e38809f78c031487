#include "text/TextConversion.h"

#include "tests/support/HeldInside.h"

#include <gtest/gtest.h>

TEST(TextConversion, KeepsEveryCharacterOnBothSidesOfTheInlineLimit)
{
    for (size_t length : {0u, 127u, 128u, 129u, 300u})
    {
        const std::string narrow(length, 'a');
        const CAnsiToWide wide(narrow.c_str());
        EXPECT_EQ(wide.Text(), std::wstring(length, L'a')) << length;
        EXPECT_EQ(HeldInside(wide, wide.Text()), length <= 127) << length;
        EXPECT_EQ(WideToAnsi(std::wstring(length, L'a')), narrow) << length;
    }
    EXPECT_EQ(CAnsiToWide(nullptr).Text(), std::wstring());
}

TEST(TextConversion, ReadsAFieldNoFurtherThanItsSize)
{
    const struct
    {
        char field[4];
        char after[4];
    } full = {{'a', 'b', 'c', 'd'}, {'x', 'y', 'z', '\0'}};
    EXPECT_EQ(AnsiToWide(full.field, sizeof full.field), L"abcd");
    EXPECT_EQ(AnsiToWide("ab\0cd", 5), L"ab");
}
