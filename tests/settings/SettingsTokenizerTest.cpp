#include "settings/SettingsTokenizer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
using Tokens = std::vector<std::string>;

Tokens Tokenize(const std::string& text)
{
    std::list<std::string> tokens;
    EXPECT_TRUE(TokenizeSettingsText(text, tokens));
    return Tokens(tokens.begin(), tokens.end());
}
} // namespace

TEST(SettingsWhitespace, OnlyTheSixAsciiWhitespaceBytesAndZeroOfWhichThreeEndALine)
{
    const std::string whitespace(" \t\n\v\f\r\0", 7);
    const std::string lineEnds("\n\r\0", 3);
    for (int value = 0; value < 256; ++value)
    {
        const char byte = static_cast<char>(value);
        EXPECT_EQ(whitespace.find(byte) != std::string::npos, IsSettingsWhitespace(byte))
            << "byte " << value;
        EXPECT_EQ(lineEnds.find(byte) != std::string::npos, IsSettingsLineEnd(byte))
            << "byte " << value;
    }
}

TEST(SettingsTokenizer, EmptyOrWhitespaceOnlyTextHasNoTokens)
{
    EXPECT_EQ(Tokens{}, Tokenize(""));
    EXPECT_EQ(Tokens{}, Tokenize(" \t\r\n\v\f \r\n"));
    EXPECT_EQ(0u, MeasureSettingsTokens(" \r\n", 3));
}

TEST(SettingsTokenizer, QuotesAreOptionalAndKeepWhitespaceInside)
{
    EXPECT_EQ((Tokens{"Renderer", "DX9 Renderer"}), Tokenize("\"Renderer\" \"DX9 Renderer\""));
    EXPECT_EQ((Tokens{"ScreenWidth", "800"}), Tokenize("ScreenWidth 800"));
    EXPECT_EQ((Tokens{"ScreenWidth", "800"}), Tokenize("\"ScreenWidth\"\t\"800\"\r\n"));
    EXPECT_EQ((Tokens{"Key", ""}), Tokenize("\"Key\" \"\""));
}

TEST(SettingsTokenizer, ClosingQuoteEndsTheTokenWithoutWhitespace)
{
    EXPECT_EQ((Tokens{"abc", "def"}), Tokenize("\"abc\"def"));
    EXPECT_EQ((Tokens{"abcdef ghi", "jkl"}), Tokenize("abc\"def ghi\"jkl"));
    EXPECT_EQ((Tokens{"x", "y"}), Tokenize("x\"\"y"));
    EXPECT_EQ((Tokens{"", "", "a"}), Tokenize("\"\"\"\"a"));
}

TEST(SettingsTokenizer, BackslashesAreKeptWhole)
{
    EXPECT_EQ(Tokens{"\\\\.\\DISPLAY1"}, Tokenize("\"\\\\.\\DISPLAY1\""));
    EXPECT_EQ(Tokens{"C:\\dir\\\\"}, Tokenize("\"C:\\dir\\\\\""));
    EXPECT_EQ((Tokens{"a\\", "b"}), Tokenize("a\\ b"));
    // Backslashes at the very end of the text are kept too.
    EXPECT_EQ((Tokens{"end\\\\\\"}), Tokenize("end\\\\\\"));
}

TEST(SettingsTokenizer, QuoteAfterAnOddBackslashRunIsDropped)
{
    EXPECT_EQ(Tokens{"a\\b"}, Tokenize("\"a\\\"b\""));
    EXPECT_EQ(Tokens{"a\\\\\\b"}, Tokenize("a\\\\\\\"b"));
}

TEST(SettingsTokenizer, AQuoteLeftOpenEndsAtItsLineUnlessItClosesSoundlyOnALaterOne)
{
    // Closed on a later line with whitespace or the end after it: one token, as the game reads.
    EXPECT_EQ((Tokens{"Motd", "Hello\r\nWorld", "x"}), Tokenize("\"Motd\" \"Hello\r\nWorld\" x"));
    EXPECT_EQ((Tokens{"line\nbreak", "x"}), Tokenize("\"line\nbreak\" \"x\""));
    EXPECT_EQ((Tokens{"a\\\r\n\\"}), Tokenize("\"a\\\r\n\\\"\""));
    // A folder written by a writer that escapes nothing: the dropped quote leaves the value open.
    EXPECT_EQ((Tokens{"P", "C:\\dir\\", "Next", "x"}),
              Tokenize("\"P\" \"C:\\dir\\\"\r\n\"Next\" \"x\"\r\n"));
    // A stray quote opens one more token, which ends with its line.
    EXPECT_EQ((Tokens{"Monitor", "27", "screen", "Next", "x"}),
              Tokenize("\"Monitor\" \"27\" screen\"\r\n\"Next\" \"x\""));
    EXPECT_EQ((Tokens{"Key", "abc def"}), Tokenize("\"Key\" \"abc def"));
}

TEST(SettingsTokenizer, CommentMarksAreOrdinaryTokens)
{
    EXPECT_EQ((Tokens{"K", "V", ";", "note"}), Tokenize("\"K\" \"V\" ; note"));
    EXPECT_EQ((Tokens{"//", "#x"}), Tokenize("// #x"));
}

TEST(SettingsTokenizer, ZeroBytesEndALineAndHideNothingAfterThem)
{
    EXPECT_EQ((Tokens{"A", "1", "B", "2"}), Tokenize(std::string("A 1\0\0\0B 2", 9)));
    EXPECT_EQ((Tokens{"A", "open", "more"}), Tokenize(std::string("A \"open\0 more\"", 14)));
    EXPECT_EQ((Tokens{"A", "\\", "B"}), Tokenize(std::string("A \\\0\"B\"", 7)));
}

TEST(SettingsTokenizer, AUtf8ByteOrderMarkIsSkippedOnlyAtTheStart)
{
    EXPECT_EQ((Tokens{"A", "1"}), Tokenize("\xEF\xBB\xBF\"A\" \"1\""));
    EXPECT_EQ((Tokens{"A", "\xEF\xBB\xBF"}), Tokenize("A \xEF\xBB\xBF"));
    EXPECT_EQ((Tokens{"\xEF\xBB"}), Tokenize("\xEF\xBB"));
}

TEST(SettingsTokenizer, HighBytesAreOrdinaryTokenBytes)
{
    // 0x85 and 0xA0 are whitespace in some code pages; here they belong to the token.
    EXPECT_EQ((Tokens{"caf\xE9\x85x\xA0y", "\xFF"}), Tokenize("caf\xE9\x85x\xA0y \xFF"));
}

TEST(SettingsTokenizer, MeasuringCountsEachTokenPlusItsTerminator)
{
    // "" + a + bc + "x y" + z\ = 1 + 2 + 3 + 4 + 3.
    const char text[] = "\"\" a \"bc\" \"x y\" z\\";
    EXPECT_EQ(13u, MeasureSettingsTokens(text, sizeof text - 1));
    size_t total = 0;
    for (const std::string& token : Tokenize(text))
        total += token.size() + 1;
    EXPECT_EQ(13u, total);
}

TEST(SettingsTokenizer, ReadingOneTokenStopsBeforeWhitespaceAndAfterClosingQuote)
{
    size_t length = 99;
    const char plain[] = "abc def";
    EXPECT_EQ(plain + 3, ReadSettingsToken(plain, plain + 7, nullptr, length));
    EXPECT_EQ(3u, length);

    char out[8];
    memset(out, '#', sizeof out);
    const char quoted[] = "\"a b\"c";
    EXPECT_EQ(quoted + 5, ReadSettingsToken(quoted, quoted + 6, out, length));
    EXPECT_EQ(3u, length);
    EXPECT_EQ(std::string("a b\0####", 8), std::string(out, 8));
}

TEST(SettingsTokenizer, MoreTokensThanAStoreMayHoldAreNotRead)
{
    std::string text;
    for (size_t count = 0; count <= kMaxSettingsTokens; ++count)
        text += "a\n";
    std::list<std::string> tokens = {"left over"};
    EXPECT_FALSE(TokenizeSettingsText(text, tokens));
    EXPECT_TRUE(tokens.empty());
}
