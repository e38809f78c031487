#include "settings/SettingsFileWriter.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsFolder.h"
#include "settings/SettingsText.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{
const char kOldContent[] = "\"Renderer\" \"Old\"\r\n\"Custom\" \"kept\"\r\n";

// A settings folder in a temporary folder; the real one of the machine is never written.
class SettingsFileWriterTest : public testing::Test
{
protected:
    std::string Path() const { return m_folder / "settings.cfg"; }
    std::string Content() const { return m_folder.ReadFile("settings.cfg"); }
    bool Exists(const char* name) const { return PathExists((m_folder / name).c_str()); }
    bool NoLeftover() const { return !Exists("settings.cfg.new"); }
    SettingsWriteResult Write(const std::string& text) { return WriteSettingsFile(Path(), text); }

    TempFolder m_folder;
};

// Stand-ins for a disk that fills up: the text is accepted into the runtime's buffer, and the
// failure shows only when it is flushed or the file closed.
int FlushOnFullDisk(FILE*)
{
    return EOF;
}

int CloseOnFullDisk(FILE* file)
{
    fclose(file);
    return EOF;
}

int WriteOnFullDisk(const char*, FILE*)
{
    return EOF;
}

bool g_wroteInPlace = false;

BOOL WINAPI WriteInPlaceOnFullDisk(HANDLE, LPCVOID, DWORD, LPDWORD written, LPOVERLAPPED)
{
    g_wroteInPlace = true;
    *written = 0;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// The file's access control list in its text form.
std::string AccessRights(const std::string& path)
{
    DWORD size = 0;
    GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<BYTE> descriptor(size);
    char* text = nullptr;
    if (size == 0 ||
        !GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                          &size) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorA(
            descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr))
        return "(unreadable)";
    const std::string rights = text;
    LocalFree(text);
    return rights;
}

} // namespace

TEST_F(SettingsFileWriterTest, SingleRemainingPairBecomesOneLineAndReadsBackWhole)
{
    m_folder.WriteFile("settings.cfg", "Custom   \"two words\"");
    const std::string text = FormatRemainingPairs(CSettingsFile::Load(Path().c_str()));

    ASSERT_EQ(SettingsWriteResult::Written, Write(text));
    EXPECT_EQ("\"Custom\" \"two words\"\r\n", Content());
    const CSettingsFile reloaded = CSettingsFile::Load(Path().c_str());
    EXPECT_EQ((std::vector<std::string>{"Custom", "two words"}),
              std::vector<std::string>(reloaded.Tokens().begin(), reloaded.Tokens().end()));
}

TEST_F(SettingsFileWriterTest, WritesCrLfLinesAndReplacesAnExistingFileCompletely)
{
    // Nothing to write gives a zero-byte file.
    EXPECT_EQ(SettingsWriteResult::Written, Write(""));
    EXPECT_TRUE(Exists("settings.cfg"));
    EXPECT_EQ("", Content());

    m_folder.WriteFile("settings.cfg", kOldContent);
    EXPECT_EQ(SettingsWriteResult::Written, Write("\"A\" \"1\"\n\"B\" \"x y\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n\"B\" \"x y\"\r\n", Content());
    EXPECT_TRUE(NoLeftover());

    EXPECT_EQ(SettingsWriteResult::Written, Write(""));
    EXPECT_EQ("", Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, LeftoverNewFileOfAnEarlierRunIsReplacedAndRemoved)
{
    m_folder.WriteFile("settings.cfg.new", "stale stale stale");
    EXPECT_EQ(SettingsWriteResult::Written, Write("\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, UnopenableTargetsFailToOpenAndChangeNothing)
{
    EXPECT_EQ(SettingsWriteResult::OpenFailed, WriteSettingsFile("", "\"A\" \"1\"\n"));

    EXPECT_EQ(SettingsWriteResult::OpenFailed,
              WriteSettingsFile(m_folder / "missing\\settings.cfg", "\"A\" \"1\"\n"));
    EXPECT_FALSE(Exists("missing"));

    // A folder standing where the file should be.
    ASSERT_TRUE(CreateDirectoryA(Path().c_str(), nullptr));
    EXPECT_EQ(SettingsWriteResult::OpenFailed, Write("\"A\" \"1\"\n"));
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, ReadOnlyFileFailsToOpenAndKeepsItsContent)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    ASSERT_TRUE(SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_EQ(SettingsWriteResult::OpenFailed, Write("\"A\" \"1\"\n"));
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, FileHeldByAReaderThatDeniesWritingFailsToOpen)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    const HANDLE reader = CreateFileA(Path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);

    EXPECT_EQ(SettingsWriteResult::OpenFailed, Write("\"A\" \"1\"\n"));
    CloseHandle(reader);
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, FileHeldOpenByTheCRuntimeIsRewrittenInPlace)
{
    // fopen shares reading and writing but not deleting: the file cannot be replaced. The new
    // text is shorter than the old one first, then longer.
    const std::string longer(80, 'x');
    const struct
    {
        std::string text;
        std::string content;
    } cases[] = {{"\"A\" \"1\"\n", "\"A\" \"1\"\r\n"}, {longer, longer}};
    for (const auto& test : cases)
    {
        m_folder.WriteFile("settings.cfg", kOldContent);
        FILE* const holder = fopen(Path().c_str(), "r");
        ASSERT_NE(holder, nullptr);

        EXPECT_EQ(SettingsWriteResult::Written, Write(test.text));
        fclose(holder);
        EXPECT_EQ(test.content, Content());
        EXPECT_TRUE(NoLeftover());
    }
}

TEST_F(SettingsFileWriterTest, FileHeldOpenOnAFullDiskKeepsItsContent)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    FILE* const holder = fopen(Path().c_str(), "r");
    ASSERT_NE(holder, nullptr);

    const SettingsFileCalls fullDisk = {fopen, fputs, fflush, fclose, WriteInPlaceOnFullDisk};
    EXPECT_EQ(SettingsWriteResult::WriteFailed,
              WriteSettingsFile(Path(), std::string(80, 'x'), fullDisk));
    fclose(holder);
    EXPECT_TRUE(g_wroteInPlace);
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, ReplacedFileKeepsItsAttributesAndAccessRights)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    // Everyone may change the file, as an installer sets it for all users of the machine.
    PSECURITY_DESCRIPTOR everyoneMayChange = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        "D:(A;;FA;;;WD)", SDDL_REVISION_1, &everyoneMayChange, nullptr));
    ASSERT_TRUE(SetFileSecurityA(Path().c_str(), DACL_SECURITY_INFORMATION, everyoneMayChange));
    LocalFree(everyoneMayChange);
    ASSERT_TRUE(SetFileAttributesA(Path().c_str(), FILE_ATTRIBUTE_HIDDEN));
    const std::string rights = AccessRights(Path());

    EXPECT_EQ(SettingsWriteResult::Written, Write("\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
    EXPECT_NE(GetFileAttributesA(Path().c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    EXPECT_EQ(rights, AccessRights(Path()));
}

TEST_F(SettingsFileWriterTest, FullDiskFailuresKeepTheOldFileAndLeaveNothingBehind)
{
    const SettingsFileCalls failing[] = {
        {fopen, WriteOnFullDisk, fflush, fclose, WriteFile},
        {fopen, fputs, FlushOnFullDisk, fclose, WriteFile},
        {fopen, fputs, fflush, CloseOnFullDisk, WriteFile},
    };
    for (const SettingsFileCalls& calls : failing)
    {
        m_folder.WriteFile("settings.cfg", kOldContent);
        EXPECT_EQ(SettingsWriteResult::WriteFailed,
                  WriteSettingsFile(Path(), "\"A\" \"1\"\n", calls));
        EXPECT_EQ(kOldContent, Content());
        EXPECT_TRUE(NoLeftover());
    }

    // Without an old file, a failed write creates none.
    DeleteFileA(Path().c_str());
    const SettingsFileCalls flushFails = {fopen, fputs, FlushOnFullDisk, fclose, WriteFile};
    EXPECT_EQ(SettingsWriteResult::WriteFailed,
              WriteSettingsFile(Path(), "\"A\" \"1\"\n", flushFails));
    EXPECT_FALSE(Exists("settings.cfg"));
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, NewFileThatCannotBeCreatedFailsToOpen)
{
    // A folder standing where the new file would be made.
    m_folder.WriteFile("settings.cfg", kOldContent);
    ASSERT_TRUE(CreateDirectoryA((m_folder / "settings.cfg.new").c_str(), nullptr));

    EXPECT_EQ(SettingsWriteResult::OpenFailed, Write("\"A\" \"1\"\n"));
    EXPECT_EQ(kOldContent, Content());
}
