#include "strings/StringDatabase.h"

#include "strings/StringManagerLibrary.h"
#include "strings/WideTextCopy.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
// Runs each test in an empty working folder, with the stand-in library loaded.
class StringDatabaseTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, GetStringManager()); }

    void CopyTestDatabaseAs(const std::string& name)
    {
        ASSERT_TRUE(CopyFileA(TestDatabasePath().c_str(), (m_folder / name).c_str(), FALSE));
    }

    static std::wstring Copied(const CStringDatabase& database, const char* key)
    {
        CWideTextCopy copy(database.Lookup(key));
        return copy.Text() ? copy.Text() : L"(null)";
    }

    TempFolder m_folder;
    ScopedCurrentDirectory m_inFolder{m_folder.Path()};
};
} // namespace

TEST_F(StringDatabaseTest, BareNameOpensTheDatabaseInTheCurrentDirectory)
{
    CopyTestDatabaseAs("Config.Strdb00p");
    CStringDatabase database("Config.Strdb00p");
    EXPECT_EQ(L"Hello", Copied(database, "Greeting"));
    EXPECT_EQ(L"Gr\u00F6\u00DFe \u00E4ndern", Copied(database, "Umlauts"));
    EXPECT_EQ(L"\U0001D11E clef", Copied(database, "Clef"));
    EXPECT_EQ(L"first\nsecond", Copied(database, "TwoLines"));
    EXPECT_EQ(L" padded ", Copied(database, "Padded"));
    EXPECT_EQ(L"C:\\Games", Copied(database, "Folder"));
    EXPECT_EQ(L"", Copied(database, "Empty"));
}

TEST_F(StringDatabaseTest, DatabaseBesideTheExecutableIsNotFoundFromAnotherDirectory)
{
    // Config.Strdb00p lies beside this executable, but not in the working folder.
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(ShippedDatabasePath().c_str()));
    CStringDatabase database("Config.Strdb00p");
    EXPECT_STREQ(L"[Database Invalid]", database.Lookup("WindowTitle"));
    EXPECT_STREQ(L"[Database Invalid]", database.Lookup(nullptr));
}

TEST_F(StringDatabaseTest, DatabaseTheManagerRefusesCountsAsMissing)
{
    m_folder.WriteFile("Config.Strdb00p", "not a string database");
    CStringDatabase database("Config.Strdb00p");
    EXPECT_STREQ(L"[Database Invalid]", database.Lookup("Greeting"));
}

TEST_F(StringDatabaseTest, ClosesOnlyADatabaseThatOpened)
{
    const LexoraRuntimeCounters before = ReadRuntimeCounters();
    {
        CStringDatabase missing("Config.Strdb00p");
        CStringDatabase refused(nullptr);
    }
    LexoraRuntimeCounters after = ReadRuntimeCounters();
    EXPECT_EQ(before.closeCalls, after.closeCalls);
    EXPECT_EQ(before.openDatabases, after.openDatabases);

    CopyTestDatabaseAs("Config.Strdb00p");
    {
        CStringDatabase database("Config.Strdb00p");
        EXPECT_EQ(before.openDatabases + 1, ReadRuntimeCounters().openDatabases);
    }
    after = ReadRuntimeCounters();
    EXPECT_EQ(before.closeCalls + 1, after.closeCalls);
    EXPECT_EQ(before.openDatabases, after.openDatabases);
}

TEST_F(StringDatabaseTest, TextsOf127And128CharactersComeOutWhole)
{
    CStringDatabase database(TestDatabasePath().c_str());
    std::wstring digits;
    for (int i = 0; i < 128; ++i)
        digits += wchar_t(L'0' + i % 10);
    EXPECT_EQ(digits.substr(0, 127), Copied(database, "Text127"));
    EXPECT_EQ(digits, Copied(database, "Text128"));
}

TEST_F(StringDatabaseTest, MissingKeyShowsItsNameAndNullKeyGivesANullText)
{
    CStringDatabase database(TestDatabasePath().c_str());
    EXPECT_EQ(L"[Missing: NoSuchKey]", Copied(database, "NoSuchKey"));
    EXPECT_EQ(L"[Missing: NoSuchKey]", Copied(database, "NoSuchKey"));
    EXPECT_EQ(L"[Missing: greeting]", Copied(database, "greeting")) << "keys match exactly";
    EXPECT_EQ(L"Hello", Copied(database, "Greeting"));

    const wchar_t* text = database.Lookup(nullptr);
    EXPECT_EQ(nullptr, text);
    CWideTextCopy copy(text);
    EXPECT_EQ(nullptr, copy.Text());
}

TEST_F(StringDatabaseTest, OpenDatabasesAreKeptApart)
{
    m_folder.WriteFile("other.Strdb00p", CompileDatabase("Greeting = Hallo\nOnlyHere = ja\n"));
    CStringDatabase first(TestDatabasePath().c_str());
    {
        CStringDatabase second("other.Strdb00p");
        EXPECT_EQ(L"Hallo", Copied(second, "Greeting"));
        EXPECT_EQ(L"Hello", Copied(first, "Greeting"));
        EXPECT_EQ(L"ja", Copied(second, "OnlyHere"));
        EXPECT_EQ(L"[Missing: OnlyHere]", Copied(first, "OnlyHere"));
    }
    EXPECT_EQ(L"Hello", Copied(first, "Greeting"));
}

TEST_F(StringDatabaseTest, ShippedDatabaseHoldsEveryKeyTheLauncherLooksUp)
{
    CStringDatabase database(ShippedDatabasePath().c_str());
    const char* keys[] = {"WindowTitle",
                          "TabDisplay",
                          "TabOptions",
                          "ButtonOK",
                          "ButtonApply",
                          "ButtonCancel",
                          "ButtonHelp",
                          "StaticDisplays",
                          "StaticRenderers",
                          "StaticResolutions",
                          "StaticWarning",
                          "StaticCommandLineFlags",
                          "StaticAdvancedCommandLine",
                          "CheckDisableSound",
                          "CheckDisableMusic",
                          "CheckDisableJoysticks",
                          "CheckDisableMovies",
                          "CheckDisableSoundFilters",
                          "CheckDisableHardwareSound",
                          "CheckRestoreDefaults",
                          "ErrorDialogTitle",
                          "ErrorFileReadFailed",
                          "ErrorFileOpenFailed",
                          "ErrorFileWriteFailed",
                          "ErrorFileCreateFailed",
                          "ErrorFileWriteFailedDamaged",
                          "ErrorExecutableLaunchLowResources"};
    for (const char* key : keys)
    {
        const std::wstring text = Copied(database, key);
        EXPECT_FALSE(text.empty()) << key;
        EXPECT_EQ(std::wstring::npos, text.find(L"[Missing")) << key;
        EXPECT_EQ(std::wstring::npos, text.find(L"Invalid]")) << key;
    }
    EXPECT_EQ(L"DRAV Configuration", Copied(database, "WindowTitle"));
    EXPECT_EQ(L"Disable Mo&vies", Copied(database, "CheckDisableMovies"));
    EXPECT_EQ(L"* The game is not optimized for these non-standard resolutions.",
              Copied(database, "StaticWarning"));
}
