#include "settings/ProductMode.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class ProductModeTest : public testing::Test
{
protected:
    void WriteProductFile(const std::string& content)
    {
        m_folder.WriteFile("gamecfg.txt", content);
    }

    TempFolder m_folder;
    ScopedCurrentDirectory m_inFolder{m_folder.Path()};
};
} // namespace

TEST_F(ProductModeTest, MissingFileMeansRetail)
{
    EXPECT_EQ(0, ReadProductMode());
    EXPECT_FALSE(IsFreeEdition());
    EXPECT_STREQ("DRAV", GetProductFolderName());
    EXPECT_STREQ("DRAV.exe", GetGameExecutableName());
}

TEST_F(ProductModeTest, OneMeansTheFreeEdition)
{
    WriteProductFile("[General]\r\nPRODUCT_MPFREE=1\r\n");
    EXPECT_EQ(1, ReadProductMode());
    EXPECT_TRUE(IsFreeEdition());
    EXPECT_STREQ("DRAVFree", GetProductFolderName());
    EXPECT_STREQ("DRAVMP.exe", GetGameExecutableName());
}

TEST_F(ProductModeTest, EveryOtherValueMeansRetail)
{
    for (const char* content :
         {"[General]\r\nPRODUCT_MPFREE=0\r\n", "[General]\r\nPRODUCT_MPFREE=2\r\n",
          "[General]\r\nPRODUCT_MPFREE=\r\n", "[Other]\r\nPRODUCT_MPFREE=1\r\n"})
    {
        WriteProductFile(content);
        EXPECT_FALSE(IsFreeEdition()) << content;
        EXPECT_STREQ("DRAV", GetProductFolderName()) << content;
        EXPECT_STREQ("DRAV.exe", GetGameExecutableName()) << content;
    }
}

TEST_F(ProductModeTest, FileIsReadAgainAtEveryCall)
{
    EXPECT_STREQ("DRAV", GetProductFolderName());
    WriteProductFile("[General]\r\nPRODUCT_MPFREE=1\r\n");
    EXPECT_STREQ("DRAVFree", GetProductFolderName());
    WriteProductFile("[General]\r\nPRODUCT_MPFREE=0\r\n");
    EXPECT_STREQ("DRAV", GetProductFolderName());
}
