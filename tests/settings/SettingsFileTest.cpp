#include "settings/SettingsFile.h"

#include "settings/SettingsText.h"
#include "settings/SettingsTokenizer.h"
#include "settings/save/SettingsFileSave.h"
#include "tests/settings/AllocationFailure.h"
#include "tests/settings/SettingsRoundTrip.h"
#include "tests/support/BriefFileHold.h"
#include "tests/support/TempFolder.h"
#include "text/TextConversion.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

namespace
{
using Tokens = std::vector<std::string>;

Tokens TokensOf(const CSettingsFile& settings)
{
    return Tokens(settings.Tokens().begin(), settings.Tokens().end());
}

// `text`, UTF-8 in the source, as a text editor saves it as "Unicode": UTF-16 with a
// byte-order mark, little or big end first.
std::string Utf16(const std::string& text, bool bigEndian)
{
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const wchar_t unit : wide)
    {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// Loads a store from a real file holding `text`.
class SettingsFileTest : public testing::Test
{
protected:
    CSettingsFile LoadText(const std::string& text)
    {
        m_folder.WriteFile("settings.cfg", text);
        return CSettingsFile::Load(Path().c_str());
    }
    std::string Path() const { return m_folder / "settings.cfg"; }
    // A store that is not empty, to see that a load replaces it.
    CSettingsFile StoredPair()
    {
        m_folder.WriteFile("pair.cfg", "A 1");
        return CSettingsFile::Load((m_folder / "pair.cfg").c_str());
    }

    TempFolder m_folder;
};
} // namespace

TEST_F(SettingsFileTest, LoadsTheTokensOfTheFileInOrder)
{
    const CSettingsFile settings = LoadText("\"DisableSound\" \"1\"\r\n"
                                            "\"Renderer\" \"DX9 Renderer\"\r\n"
                                            "ScreenWidth 800\r\n");
    EXPECT_EQ((Tokens{"DisableSound", "1", "Renderer", "DX9 Renderer", "ScreenWidth", "800"}),
              TokensOf(settings));
}

TEST_F(SettingsFileTest, EmptyOrWhitespaceFileGivesDefaults)
{
    for (const char* text : {"", " \r\n\t \r\n"})
    {
        CSettingsFile settings = LoadText(text);
        EXPECT_TRUE(settings.Tokens().empty());
        EXPECT_EQ("dflt", settings.TakeString("Renderer", "dflt"));
        EXPECT_EQ(640, settings.TakeInt("ScreenWidth", 640));
        EXPECT_TRUE(settings.TakeBool("DisableSound", true));
    }
}

TEST_F(SettingsFileTest, FilesOfOtherWritersAreReadAsMeantAndSavedWhole)
{
    const std::string tail = "\"DisableMovies\" \"1\"\r\n";
    const struct
    {
        const char* writer;
        std::string bytes;
        Tokens meant;
    } files[] = {
        {"a UTF-8 byte-order mark",
         "\xEF\xBB\xBF\"MusicEnable\" \"0\"\r\n" + tail,
         {"MusicEnable", "0", "DisableMovies", "1"}},
        // An odd last byte, where a crash cut a file short, is no character.
        {"UTF-16, little end first",
         Utf16("\"Name\" \"Caf\u00e9\"\r\n\"DisableMovies\" \"1\"", false) + "X",
         {"Name", WideToAnsi(L"Caf\u00e9"), "DisableMovies", "1"}},
        {"UTF-16, big end first",
         Utf16("\"Name\" \"x y\"\r\n\"DisableMovies\" \"1\"", true),
         {"Name", "x y", "DisableMovies", "1"}},
        {"a power cut",
         "\"A\" \"1\"\r\n" + std::string(16, '\0') + tail,
         {"A", "1", "DisableMovies", "1"}},
        {"a folder, nothing escaped",
         "\"ModPath\" \"C:\\Mods\\\"\r\n" + tail,
         {"ModPath", "C:\\Mods\\", "DisableMovies", "1"}},
        {"a stray quote",
         "\"Monitor\" \"27\" screen\"\r\n" + tail,
         {"Monitor", "27", "DisableMovies", "1"}},
    };
    for (const auto& file : files)
    {
        SCOPED_TRACE(file.writer);
        EXPECT_EQ(file.meant, TokensOf(LoadText(file.bytes)));
        CSettingsFileSave save;
        CSettingsFile settings;
        ASSERT_EQ(SettingsWriteResult::Written, save.Begin(Path(), settings));
        ASSERT_EQ(SettingsWriteResult::Written, save.Replace(FormatRemainingPairs(settings)));
        std::string lines;
        for (size_t at = 0; at < file.meant.size(); at += 2)
            AppendSettingsLine(lines, file.meant[at], file.meant[at + 1]);
        EXPECT_EQ(OnDisk(lines), m_folder.ReadFile("settings.cfg"));
    }

    // A character the code page lacks, or has only a look-alike for (o for o with a double
    // acute, - for the minus sign), is not guessed: the file is kept as it is.
    for (const char* lacking : {"\u4e2d", "\u0151", "\u2212"})
    {
        const std::string kept = Utf16(std::string("\"Name\" \"") + lacking + "\"", false);
        CSettingsFile settings;
        m_folder.WriteFile("settings.cfg", kept);
        EXPECT_FALSE(CSettingsFile::Load(Path().c_str(), settings)) << lacking;
        EXPECT_EQ(SettingsWriteResult::ReadFailed, WriteSettingsFile(Path(), "\"A\" \"1\"\n"));
        EXPECT_EQ(kept, m_folder.ReadFile("settings.cfg"));
    }
}

TEST_F(SettingsFileTest, MissingFileOrFolderGivesAnEmptyStore)
{
    EXPECT_TRUE(CSettingsFile::Load((m_folder / "missing.cfg").c_str()).Tokens().empty());
    EXPECT_TRUE(
        CSettingsFile::Load((m_folder / "no\\such\\settings.cfg").c_str()).Tokens().empty());
    EXPECT_TRUE(CSettingsFile::Load(m_folder.Path().c_str()).Tokens().empty());
}

TEST_F(SettingsFileTest, FileHeldWithoutReadSharingOrOpenForWritingIsNotRead)
{
    LoadText("\"A\" \"1\"");

    const HANDLE exclusive =
        CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
    EXPECT_TRUE(CSettingsFile::Load(Path().c_str()).Tokens().empty());
    CloseHandle(exclusive);

    const HANDLE writer =
        CreateFileA(Path().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    EXPECT_TRUE(CSettingsFile::Load(Path().c_str()).Tokens().empty());
    CloseHandle(writer);

    // Another reader that shares reading does not stand in the way.
    const HANDLE reader = CreateFileA(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    EXPECT_EQ((Tokens{"A", "1"}), TokensOf(CSettingsFile::Load(Path().c_str())));
    CloseHandle(reader);
}

TEST_F(SettingsFileTest, AFileAScannerHoldsForAMomentIsLoadedOnceItLetsGo)
{
    LoadText("\"A\" \"1\"");
    const BriefFileHold scanner(Path(), 200);
    ASSERT_TRUE(scanner.Held());
    CSettingsFile settings;
    EXPECT_TRUE(CSettingsFile::Load(Path().c_str(), settings));
    EXPECT_EQ((Tokens{"A", "1"}), TokensOf(settings));
}

TEST_F(SettingsFileTest, OnlyAnExistingFileThatCannotBeReadCountsAsAFailedLoad)
{
    CSettingsFile settings = StoredPair();
    EXPECT_TRUE(CSettingsFile::Load((m_folder / "missing.cfg").c_str(), settings));
    EXPECT_TRUE(settings.Tokens().empty());
    settings = StoredPair();
    EXPECT_TRUE(CSettingsFile::Load((m_folder / "no\\such\\settings.cfg").c_str(), settings));
    EXPECT_TRUE(settings.Tokens().empty());

    LoadText("\"A\" \"1\"");
    const HANDLE exclusive =
        CreateFileA(Path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, exclusive);
    settings = StoredPair();
    EXPECT_FALSE(CSettingsFile::Load(Path().c_str(), settings));
    EXPECT_TRUE(settings.Tokens().empty());
    CloseHandle(exclusive);

    // 4 GiB, made sparse: the size alone refuses it.
    const HANDLE huge =
        CreateFileA(Path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 0x100000000LL;
    ASSERT_TRUE(SetFilePointerEx(huge, size, nullptr, FILE_BEGIN) && SetEndOfFile(huge));
    CloseHandle(huge);
    EXPECT_FALSE(CSettingsFile::Load(Path().c_str(), settings));
}

TEST_F(SettingsFileTest, LoadingLeavesTheFileFreeForWriting)
{
    LoadText("\"A\" \"1\"");
    const HANDLE exclusive = CreateFileA(Path().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, exclusive);
    CloseHandle(exclusive);
}

TEST(SettingsFileSize, SizesPast64MiBAreNotLoadable)
{
    EXPECT_TRUE(IsLoadableSettingsSize(0));
    EXPECT_TRUE(IsLoadableSettingsSize(1));
    EXPECT_TRUE(IsLoadableSettingsSize(64LL << 20));
    EXPECT_FALSE(IsLoadableSettingsSize((64LL << 20) + 1));
    EXPECT_FALSE(IsLoadableSettingsSize(0xFFFFFFFFLL));
    EXPECT_FALSE(IsLoadableSettingsSize(0x100000000LL));
    // Its low 32 bits would make it look like a 5-byte file.
    EXPECT_FALSE(IsLoadableSettingsSize(0x100000005LL));
    EXPECT_FALSE(IsLoadableSettingsSize(-1));
}

TEST(SettingsFileTake, TakeRemovesKeyAndValueAndTheFirstDuplicateWins)
{
    TempFolder folder;
    folder.WriteFile("s.cfg", "\"A\" \"1\" \"B\" \"x\" \"A\" \"2\"");
    CSettingsFile settings = CSettingsFile::Load((folder / "s.cfg").c_str());

    EXPECT_EQ("1", settings.TakeString("A", "dflt"));
    EXPECT_EQ((Tokens{"B", "x", "A", "2"}), TokensOf(settings));
    EXPECT_EQ("dflt", settings.TakeString("a", "dflt")) << "keys are case sensitive";
    EXPECT_EQ("dflt", settings.TakeString("", "dflt"));
    EXPECT_EQ((Tokens{"B", "x", "A", "2"}), TokensOf(settings));
    EXPECT_EQ(2, settings.TakeInt("A", 0));
    EXPECT_EQ((Tokens{"B", "x"}), TokensOf(settings));
    EXPECT_EQ(7, settings.TakeInt("A", 7));
    EXPECT_EQ("", settings.TakeString("Missing", nullptr));
    EXPECT_EQ("", settings.TakeString(nullptr, nullptr));
}

TEST(SettingsFileTake, AValueEqualToAKeyIsNeverTakenForIt)
{
    TempFolder folder;
    folder.WriteFile("s.cfg", "\"Renderer\" \"DeviceName\" \"DeviceName\" \"x\"");
    CSettingsFile settings = CSettingsFile::Load((folder / "s.cfg").c_str());

    EXPECT_EQ("x", settings.TakeString("DeviceName", "dflt"));
    EXPECT_EQ((Tokens{"Renderer", "DeviceName"}), TokensOf(settings));
    EXPECT_EQ("dflt", settings.TakeString("DeviceName", "dflt"));
    EXPECT_EQ("DeviceName", settings.TakeString("Renderer", "dflt"));
    EXPECT_TRUE(settings.Tokens().empty());
}

TEST(SettingsFileTake, LastKeyWithoutValueGivesTheDefaultAndIsRemoved)
{
    TempFolder folder;
    folder.WriteFile("s.cfg", "\"A\" \"1\" \"Lonely\"");
    CSettingsFile settings = CSettingsFile::Load((folder / "s.cfg").c_str());
    CSettingsFile forBool = settings;
    CSettingsFile forInt = settings;

    EXPECT_EQ("dflt", settings.TakeString("Lonely", "dflt"));
    EXPECT_EQ((Tokens{"A", "1"}), TokensOf(settings));
    EXPECT_TRUE(forBool.TakeBool("Lonely", true));
    EXPECT_EQ((Tokens{"A", "1"}), TokensOf(forBool));
    EXPECT_EQ(-3, forInt.TakeInt("Lonely", -3));
    EXPECT_EQ((Tokens{"A", "1"}), TokensOf(forInt));
}

TEST(SettingsFileTake, ValueConversions)
{
    TempFolder folder;
    folder.WriteFile("s.cfg", "b1 1 bTrue true bYes yes b01 01 b0 0 bEmpty \"\" bSpace \" 1\" "
                              "i800 800 iNeg -5 iPlus +7 iTail 12abc iWord abc iSpace \" \t42\" "
                              "iEmpty \"\" sEmpty \"\"");
    CSettingsFile settings = CSettingsFile::Load((folder / "s.cfg").c_str());

    EXPECT_TRUE(settings.TakeBool("b1", false));
    for (const char* key : {"bTrue", "bYes", "b01", "b0", "bEmpty", "bSpace"})
        EXPECT_FALSE(settings.TakeBool(key, true)) << key;
    EXPECT_TRUE(settings.TakeBool("bMissing", true));
    EXPECT_FALSE(settings.TakeBool("bMissing", false));

    EXPECT_EQ(800, settings.TakeInt("i800", 1));
    EXPECT_EQ(-5, settings.TakeInt("iNeg", 1));
    EXPECT_EQ(7, settings.TakeInt("iPlus", 1));
    EXPECT_EQ(12, settings.TakeInt("iTail", 1));
    EXPECT_EQ(0, settings.TakeInt("iWord", 1));
    EXPECT_EQ(42, settings.TakeInt("iSpace", 1));
    EXPECT_EQ(0, settings.TakeInt("iEmpty", 1));

    EXPECT_EQ("", settings.TakeString("sEmpty", "dflt")) << "an empty value is a value";
    EXPECT_TRUE(settings.Tokens().empty());
}

TEST(SettingsFileValue, CopiesAreIndependentAndAssignmentReplacesEverything)
{
    TempFolder folder;
    folder.WriteFile("one.cfg", "A 1 B 2");
    folder.WriteFile("two.cfg", "C 3");
    CSettingsFile original = CSettingsFile::Load((folder / "one.cfg").c_str());

    CSettingsFile copy(original);
    EXPECT_EQ("1", copy.TakeString("A", ""));
    EXPECT_EQ((Tokens{"A", "1", "B", "2"}), TokensOf(original));
    EXPECT_EQ((Tokens{"B", "2"}), TokensOf(copy));

    copy = CSettingsFile::Load((folder / "two.cfg").c_str());
    EXPECT_EQ((Tokens{"C", "3"}), TokensOf(copy));
    copy = original;
    EXPECT_EQ((Tokens{"A", "1", "B", "2"}), TokensOf(copy));
    copy = CSettingsFile();
    EXPECT_TRUE(copy.Tokens().empty());
    EXPECT_EQ(4u, original.Tokens().size());
}

TEST_F(SettingsFileTest, AFileOfExactlyTheMostTokensAStoreMayHoldIsRead)
{
    std::string text;
    for (size_t pairs = 0; pairs < kMaxSettingsTokens / 2; ++pairs)
        text += "a 1\n";
    CSettingsFile settings;
    m_folder.WriteFile("settings.cfg", text);
    EXPECT_TRUE(CSettingsFile::Load(Path().c_str(), settings));
    EXPECT_EQ(kMaxSettingsTokens, settings.Tokens().size());
}

TEST_F(SettingsFileTest, EveryLineBeginsWithAKeyWhateverTheLinesBeforeIt)
{
    // A mod tool's value with a blank and no quotes, a key without a value, and a value that
    // equals a key; with the line ends of Windows, of Unix and of the old Mac.
    for (const std::string end : {"\r\n", "\n", "\r"})
    {
        CSettingsFile settings = LoadText("\"ModName\" My Mod" + end + "\"DisableSound\" \"1\"" +
                                          end + "\"Note\" \"MusicEnable\"" + end + "\"Lonely\"" +
                                          end + "\"MusicEnable\" \"0\"" + end);
        EXPECT_TRUE(settings.TakeBool("DisableSound", false));
        EXPECT_EQ("0", settings.TakeString("MusicEnable", "1"));
        EXPECT_EQ("dflt", settings.TakeString("Lonely", "dflt"));
        EXPECT_EQ((Tokens{"ModName", "My", "Note", "MusicEnable"}), TokensOf(settings));
    }
}

TEST_F(SettingsFileTest, MemoryThatRunsOutWhileLoadingNeverGivesAPartOfTheFile)
{
    m_folder.WriteFile("settings.cfg", "\"DisableSound\" \"1\"\r\n\"A\" \"1\"\r\n\"B\" \"2\"\r\n");
    const Tokens whole = {"DisableSound", "1", "A", "1", "B", "2"};
    bool loaded = false;
    for (size_t succeeding = 0; !loaded && succeeding < 1000; ++succeeding)
    {
        CSettingsFile settings;
        try
        {
            const ScopedAllocationFailure failure(succeeding);
            loaded = CSettingsFile::Load(Path().c_str(), settings);
        }
        catch (const std::bad_alloc&)
        {
            // The sheet's callback boundary takes this and tells the player.
            continue;
        }
        EXPECT_EQ(loaded ? whole : Tokens{}, TokensOf(settings)) << succeeding << " allocations";
    }
    EXPECT_TRUE(loaded);
}
