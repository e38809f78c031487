#include "standins/lexora_runtime/StringDatabaseReader.h"

#include "standins/lexora_runtime/StringDatabaseFormat.h"
#include "strings/FileReadStream.h"
#include "strings/StringManagerLibrary.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class StringDatabaseReaderTest : public testing::Test
{
protected:
    // Reads `bytes` from a file through the launcher's stream.
    bool Read(const std::string& bytes, StringTable& table)
    {
        m_folder.WriteFile("db.Strdb00p", bytes);
        CFileReadStream stream;
        EXPECT_TRUE(stream.Open((m_folder / "db.Strdb00p").c_str()));
        return ReadStringDatabase(stream, table);
    }

    bool Accepts(const std::string& bytes)
    {
        StringTable table;
        return Read(bytes, table);
    }

    // Opens `bytes` through the stand-in library as the launcher does; closes it again.
    uint32_t OpenThroughLibrary(const std::string& bytes)
    {
        m_folder.WriteFile("db.Strdb00p", bytes);
        CFileReadStream stream;
        EXPECT_TRUE(stream.Open((m_folder / "db.Strdb00p").c_str()));
        ILexoraMgr* manager = GetStringManager();
        const uint32_t handle = manager ? manager->OpenDatabase(&stream) : 0;
        if (handle != 0)
            manager->CloseDatabase(handle);
        return handle;
    }

    TempFolder m_folder;
};

const std::string kSmallSource = "Title = DRAV\nEmpty =\nNames = \xC3\xA4\xF0\x9D\x84\x9E\n";
} // namespace

TEST_F(StringDatabaseReaderTest, ReadsEveryEntryInOrder)
{
    StringTable table;
    ASSERT_TRUE(Read(CompileDatabase(kSmallSource), table));
    EXPECT_EQ(3u, table.Size());
    EXPECT_EQ(1u, table.FindId("Title"));
    EXPECT_EQ(2u, table.FindId("Empty"));
    EXPECT_EQ(3u, table.FindId("Names"));
    EXPECT_EQ(0u, table.FindId("title"));
    EXPECT_STREQ(L"DRAV", table.TextById(1));
    EXPECT_STREQ(L"", table.TextById(2));
    EXPECT_STREQ(L"\u00E4\U0001D11E", table.TextById(3));
    EXPECT_EQ(nullptr, table.TextById(0));
    EXPECT_EQ(nullptr, table.TextById(4));
}

TEST_F(StringDatabaseReaderTest, EveryTruncationIsRefusedByTheLibrary)
{
    const std::string database = CompileDatabase(kSmallSource);
    for (size_t length = 0; length < database.size(); ++length)
        EXPECT_EQ(0u, OpenThroughLibrary(database.substr(0, length))) << "length " << length;
    EXPECT_NE(0u, OpenThroughLibrary(database));
}

TEST_F(StringDatabaseReaderTest, RefusesDamagedHeaders)
{
    const std::string entry = DatabaseBytes().Entry("K", u"v").Bytes();
    EXPECT_TRUE(Accepts(DatabaseBytes().Header(1).Raw(entry).Bytes()));
    EXPECT_TRUE(Accepts(DatabaseBytes().Header(0).Bytes())) << "an empty database is valid";

    EXPECT_FALSE(Accepts(DatabaseBytes().Raw("LXSE").U16(1).U32(1).Raw(entry).Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Raw("LXSD").U16(2).U32(1).Raw(entry).Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Raw("LXSD").U16(0).U32(1).Raw(entry).Bytes()));
}

TEST_F(StringDatabaseReaderTest, RefusesCountsThatDoNotMatchTheEntries)
{
    const std::string entry = DatabaseBytes().Entry("K", u"v").Bytes();
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(2).Raw(entry).Bytes())) << "one entry short";
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(0).Raw(entry).Bytes())) << "bytes left over";
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(1).Raw(entry).Raw(std::string(1, '\0')).Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(0xFFFFFFFF).Raw(entry).Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(0x10000000).Raw(entry).Bytes()));
}

TEST_F(StringDatabaseReaderTest, RefusesKeysThatAreEmptyDuplicatedOrCutShort)
{
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(1).Entry("", u"v").Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(2).Entry("Key", u"a").Entry("Key", u"b").Bytes()));
    EXPECT_TRUE(Accepts(DatabaseBytes().Header(2).Entry("Key", u"a").Entry("key", u"b").Bytes()));
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(1).Entry(std::string("K\0y", 3), u"v").Bytes()));
    // Key length past the end of the file.
    EXPECT_FALSE(Accepts(DatabaseBytes().Header(1).U16(0xFFFF).Raw("Key").U32(0).U16(0).Bytes()));
}

TEST_F(StringDatabaseReaderTest, RefusesTextsWithBadLengthsOrTerminators)
{
    const auto withText = [](uint32_t length, const std::string& units)
    { return DatabaseBytes().Header(1).U16(1).Raw("K").U32(length).Raw(units).Bytes(); };
    EXPECT_TRUE(Accepts(withText(2, std::string("a\0b\0\0\0", 6))));
    EXPECT_FALSE(Accepts(withText(3, std::string("a\0b\0\0\0", 6)))) << "past the end";
    EXPECT_FALSE(Accepts(withText(1, std::string("a\0b\0\0\0", 6)))) << "no terminator";
    EXPECT_FALSE(Accepts(withText(2, std::string("a\0b\0", 4)))) << "terminator cut off";
    EXPECT_FALSE(Accepts(withText(2, std::string("a\0\0\0\0\0", 6)))) << "NUL inside";
    EXPECT_FALSE(Accepts(withText(0x7FFFFFFF, std::string("a\0b\0\0\0", 6))));
    EXPECT_FALSE(Accepts(withText(0xFFFFFFFF, std::string("a\0b\0\0\0", 6))));
}

TEST_F(StringDatabaseReaderTest, RefusesFilesLargerThanAnyDatabase)
{
    // One entry whose text makes the file exactly the largest size, then one byte more.
    const uint32_t limit = StringDatabaseFormat::kMaxDatabaseBytes;
    const uint32_t fittingUnits = (limit - 10 - 2 - 2 - 4 - 2) / 2;
    const std::string fitting =
        DatabaseBytes().Header(1).Entry("KK", std::u16string(fittingUnits, u'x')).Bytes();
    ASSERT_EQ(limit, fitting.size());
    EXPECT_TRUE(Accepts(fitting));

    const std::string larger =
        DatabaseBytes().Header(1).Entry("K", std::u16string(fittingUnits + 1, u'x')).Bytes();
    ASSERT_EQ(limit + 1, larger.size());
    EXPECT_FALSE(Accepts(larger));
}

TEST_F(StringDatabaseReaderTest, RefusesAFailedStream)
{
    CFileReadStream neverOpened;
    StringTable table;
    EXPECT_FALSE(ReadStringDatabase(neverOpened, table));
    EXPECT_EQ(0u, GetStringManager()->OpenDatabase(&neverOpened));
    EXPECT_EQ(0u, GetStringManager()->OpenDatabase(nullptr));
}
