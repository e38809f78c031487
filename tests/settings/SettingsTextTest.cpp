#include "settings/SettingsText.h"

#include "settings/SettingsFile.h"
#include "settings/save/SettingsFileSave.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Tokens = std::vector<std::string>;

// Stores are built the way the product builds them: loaded from a real file.
class SettingsTextTest : public testing::Test
{
protected:
    CSettingsFile LoadText(const std::string& text)
    {
        m_folder.WriteFile("settings.cfg", text);
        return CSettingsFile::Load((m_folder / "settings.cfg").c_str());
    }

    TempFolder m_folder;
};
} // namespace

TEST(AppendSettingsLine, AppendsOneQuotedPairPerLine)
{
    std::string text = "\"DisableSound\" \"1\"\n";
    AppendSettingsLine(text, "Renderer", "DX9 Renderer");
    AppendSettingsLine(text, "", "");
    EXPECT_EQ("\"DisableSound\" \"1\"\n\"Renderer\" \"DX9 Renderer\"\n\"\" \"\"\n", text);
}

TEST_F(SettingsTextTest, RemainingPairsAreWrittenInStoreOrder)
{
    EXPECT_EQ("", FormatRemainingPairs(CSettingsFile()));
    EXPECT_EQ("", FormatRemainingPairs(LoadText(" \r\n")));

    // Unquoted tokens and a blank value come back quoted, one pair per line.
    EXPECT_EQ("\"Zeta\" \"1\"\n\"Alpha\" \"\"\n\"Mid\" \"x y\"\n",
              FormatRemainingPairs(LoadText("Zeta 1\r\nAlpha \"\"\r\n\"Mid\" \"x y\"")));
}

TEST_F(SettingsTextTest, SingleTokenLeftAtTheEndIsNotWritten)
{
    EXPECT_EQ("", FormatRemainingPairs(LoadText("\"Lonely\"")));
    EXPECT_EQ("\"A\" \"1\"\n\"B\" \"2\"\n", FormatRemainingPairs(LoadText("A 1 B 2 Orphan")));
}

TEST_F(SettingsTextTest, OnlyWhatTheTakesLeftIsWritten)
{
    CSettingsFile settings = LoadText("\"ScreenWidth\" \"800\"\r\n"
                                      "\"Custom\" \"keep me\"\r\n"
                                      "\"ScreenWidth\" \"1024\"\r\n"
                                      "\"DisableSound\" \"1\"\r\n");
    EXPECT_EQ(800, settings.TakeInt("ScreenWidth", 640));
    EXPECT_TRUE(settings.TakeBool("DisableSound", false));

    // The second pair of a doubled key survives the take and is written again.
    EXPECT_EQ("\"Custom\" \"keep me\"\n\"ScreenWidth\" \"1024\"\n", FormatRemainingPairs(settings));
}

TEST_F(SettingsTextTest, WrittenPairsReadBackAsTheSameTokens)
{
    const Tokens original = {"Key With Space", "value\twith tab", "Empty", "", "Slash/#;", "x"};
    std::string text;
    for (size_t i = 0; i < original.size(); i += 2)
        AppendSettingsLine(text, original[i], original[i + 1]);

    const CSettingsFile reloaded = LoadText(text);
    EXPECT_EQ(original, Tokens(reloaded.Tokens().begin(), reloaded.Tokens().end()));
    EXPECT_EQ(text, FormatRemainingPairs(reloaded));
}

TEST_F(SettingsTextTest, TokensThatCannotBeReadBackAsTheyAreReadBackAsOneTokenAfterASave)
{
    std::string text;
    AppendSettingsLine(text, "Path", "C:\\Games\\");
    AppendSettingsLine(text, "Quote", "Card \"B\"");
    // A lone line feed reaches the disk as CR LF, and CR LF is read back.
    AppendSettingsLine(text, "Lines", "a\nb");
    EXPECT_EQ("\"Path\" \"C:\\Games\\\\\"\n\"Quote\" \"Card 'B'\"\n\"Lines\" \"a\nb\"\n", text);

    // Through the real file: every pair keeps its partner, and saving what was read gives the
    // same bytes.
    const std::string path = m_folder / "settings.cfg";
    ASSERT_EQ(SettingsWriteResult::Written, WriteSettingsFile(path, text));
    const CSettingsFile reloaded = CSettingsFile::Load(path.c_str());
    EXPECT_EQ((Tokens{"Path", "C:\\Games\\\\", "Quote", "Card 'B'", "Lines", "a\r\nb"}),
              Tokens(reloaded.Tokens().begin(), reloaded.Tokens().end()));
    EXPECT_EQ(text, FormatRemainingPairs(reloaded));
}
