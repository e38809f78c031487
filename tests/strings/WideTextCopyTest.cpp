#include "strings/WideTextCopy.h"

#include "tests/support/HeldInside.h"

#include <gtest/gtest.h>

#include <string>

TEST(WideTextCopy, UpTo127CharactersStayInlineAndLongerGoToTheHeap)
{
    for (size_t length : {size_t(0), size_t(1), size_t(127), size_t(128), size_t(5000)})
    {
        std::wstring source(length, L'x');
        for (size_t i = 0; i < length; ++i)
            source[i] = wchar_t(L'a' + i % 26);
        CWideTextCopy copy(source.c_str());
        ASSERT_NE(nullptr, copy.Text());
        EXPECT_NE(source.c_str(), copy.Text());
        EXPECT_EQ(source, copy.Text()) << length;
        EXPECT_EQ(length <= 127, HeldInside(copy, copy.Text())) << length;
    }
}

TEST(WideTextCopy, NullSourceGivesNullText)
{
    CWideTextCopy copy(nullptr);
    EXPECT_EQ(nullptr, copy.Text());
}

TEST(WideTextCopy, CopyOutlivesItsSource)
{
    std::wstring source(200, L'\u00E9');
    CWideTextCopy copy(source.c_str());
    source.assign(200, L'z');
    EXPECT_EQ(std::wstring(200, L'\u00E9'), copy.Text());
}
