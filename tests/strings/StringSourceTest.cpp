#include "tools/strdbc/StringSource.h"

#include "standins/lexora_runtime/StringDatabaseFormat.h"
#include "tools/strdbc/StringDatabaseWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// "line: message" of every error, one per line.
std::string Errors(const std::string& content)
{
    std::string all;
    for (const StringSourceError& error : ParseStringSource(content).errors)
        all += std::to_string(error.line) + ": " + error.message + "\n";
    return all;
}

// The one entry of `content`, which must parse without error.
StringSourceEntry OnlyEntry(const std::string& content)
{
    const StringSource source = ParseStringSource(content);
    EXPECT_EQ("", Errors(content));
    EXPECT_EQ(1u, source.entries.size());
    return source.entries.empty() ? StringSourceEntry{} : source.entries.front();
}
} // namespace

TEST(StringSource, ReadsKeysAndTextsSkippingCommentsAndBlankLines)
{
    const StringSource source =
        ParseStringSource("\xEF\xBB\xBF# comment\r\n\r\n  Title   =   DRAV Config  \r\n"
                          "\t# indented comment\n"
                          "Menu.Open_2=a = b # not a comment\n"
                          "Empty =\n"
                          "Last = no newline at the end");
    ASSERT_EQ("", Errors(""));
    ASSERT_EQ(4u, source.entries.size());
    EXPECT_TRUE(source.errors.empty());
    EXPECT_EQ("Title", source.entries[0].key);
    EXPECT_EQ(u"DRAV Config", source.entries[0].text);
    EXPECT_EQ(3u, source.entries[0].line);
    EXPECT_EQ("Menu.Open_2", source.entries[1].key);
    EXPECT_EQ(u"a = b # not a comment", source.entries[1].text);
    EXPECT_EQ(5u, source.entries[1].line);
    EXPECT_EQ(u"", source.entries[2].text);
    EXPECT_EQ(u"no newline at the end", source.entries[3].text);
    EXPECT_EQ(7u, source.entries[3].line);
}

TEST(StringSource, EscapesWriteLineBreaksSpacesAndBackslashes)
{
    EXPECT_EQ(u"one\ntwo", OnlyEntry("K = one\\ntwo").text);
    EXPECT_EQ(u"  both ends ", OnlyEntry("K = \\s\\sboth ends\\s").text);
    EXPECT_EQ(u"C:\\Games\\", OnlyEntry("K = C:\\\\Games\\\\").text);
    EXPECT_EQ(u"\\n", OnlyEntry("K = \\\\n").text);
}

TEST(StringSource, Utf8BecomesUtf16WithSurrogatePairs)
{
    EXPECT_EQ(u"\u00E4\u20AC\U0001D11E",
              OnlyEntry("K = \xC3\xA4\xE2\x82\xAC\xF0\x9D\x84\x9E").text);
    EXPECT_EQ(u"\U0010FFFF", OnlyEntry("K = \xF4\x8F\xBF\xBF").text);
}

TEST(StringSource, ReportsEveryBadLineWithItsNumber)
{
    EXPECT_EQ("2: missing '=' between key and text\n"
              "3: empty key\n"
              "5: duplicate key 'A' (first on line 1)\n"
              "6: unknown escape \\t (only \\n, \\s and \\\\ are known)\n"
              "7: backslash at the end of the line (write \\\\ for a backslash)\n"
              "8: key 'Bad Key' may hold only ASCII letters, digits, '_' and '.'\n",
              Errors("A = 1\nno equals sign\n = text\nB = 2\nA = 3\nC = tab\\there\n"
                     "D = ends in \\\nBad Key = x\n"));
    EXPECT_EQ("1: unknown escape \\\xC3\xA4 (only \\n, \\s and \\\\ are known)\n",
              Errors("K = \\\xC3\xA4"));
    EXPECT_EQ("1: NUL character in the text\n", Errors(std::string("K = a\0b", 7)));
}

TEST(StringSource, RefusesInvalidUtf8Anywhere)
{
    for (const char* bad : {"\x80", "\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80",
                            "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80", "\xE2\x82"})
    {
        EXPECT_EQ("2: invalid UTF-8\n", Errors(std::string("Ok = fine\nK = x") + bad + "y")) << bad;
        EXPECT_EQ("1: invalid UTF-8\n", Errors(std::string("# ") + bad)) << bad;
    }
}

TEST(StringDatabaseWriter, WritesTheDocumentedLayout)
{
    std::string database;
    std::string error;
    ASSERT_TRUE(EncodeStringDatabase({{"Ok", u"A\u00E4", 1}}, database, error));
    EXPECT_EQ(std::string("LXSD\x01\x00\x01\x00\x00\x00"
                          "\x02\x00Ok"
                          "\x02\x00\x00\x00"
                          "A\x00\xE4\x00\x00\x00",
                          24),
              database);
}

TEST(StringDatabaseWriter, RefusesADatabaseLargerThanTheReaderTakes)
{
    const uint32_t limit = StringDatabaseFormat::kMaxDatabaseBytes;
    const size_t fittingUnits = (limit - 10 - 2 - 2 - 4 - 2) / 2;
    std::string database;
    std::string error;
    EXPECT_TRUE(
        EncodeStringDatabase({{"KK", std::u16string(fittingUnits, u'x'), 1}}, database, error));
    EXPECT_EQ(limit, database.size());

    database = "unchanged";
    EXPECT_FALSE(
        EncodeStringDatabase({{"K", std::u16string(fittingUnits + 1, u'x'), 3}}, database, error));
    EXPECT_EQ("unchanged", database);
    EXPECT_NE(std::string::npos, error.find("larger than")) << error;
    EXPECT_FALSE(EncodeStringDatabase({{"", u"x", 4}}, database, error));
    EXPECT_EQ("line 4: key length out of range", error);
}
