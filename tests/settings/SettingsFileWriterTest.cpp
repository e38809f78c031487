#include "settings/SettingsFileWriter.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsFolder.h"
#include "settings/SettingsText.h"
#include "tests/support/BriefFileHold.h"
#include "tests/support/FileContent.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
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
    // Nothing but settings.cfg (if anything) is in the folder.
    bool NoLeftover() const
    {
        WIN32_FIND_DATAA found;
        const HANDLE search = FindFirstFileA((m_folder / "*").c_str(), &found);
        bool others = false;
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
            others = others ||
                     (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0 &&
                      strcmp(found.cFileName, "settings.cfg") != 0);
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        return !others;
    }
    SettingsWriteResult Write(const std::string& text) { return WriteSettingsFile(Path(), text); }

    TempFolder m_folder;
};

BOOL WINAPI WriteOnFullDisk(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED)
{
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

BOOL WINAPI CommitOnFailingDisk(HANDLE)
{
    SetLastError(ERROR_IO_DEVICE);
    return FALSE;
}

// A commit that notes how much of the new file the system held when it was asked to put it
// on the disk.
long long g_sizeAtCommit;
BOOL WINAPI CommitNotingTheSize(HANDLE file)
{
    LARGE_INTEGER size;
    g_sizeAtCommit = GetFileSizeEx(file, &size) ? size.QuadPart : -1;
    return FlushFileBuffers(file);
}

// A disk that takes `bytesLeft` more bytes in place, fails the write that reaches past them
// with a full disk once it wrote what fitted, and takes every later write again. It notes
// where the first write began.
struct FewBytesDisk
{
    long long bytesLeft;
    bool failed;
    long long firstWriteAt;
    // Every write after the first failure fails too.
    bool failsForGood;
};
FewBytesDisk g_disk;

BOOL WINAPI WriteFewBytesThenFail(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                  LPOVERLAPPED overlapped)
{
    if (g_disk.firstWriteAt < 0)
    {
        LARGE_INTEGER zero = {}, at;
        SetFilePointerEx(file, zero, &at, FILE_CURRENT);
        g_disk.firstWriteAt = at.QuadPart;
    }
    if (g_disk.failed && g_disk.failsForGood)
        return FALSE;
    if (g_disk.failed || size <= g_disk.bytesLeft)
    {
        g_disk.bytesLeft -= size;
        return WriteFile(file, bytes, size, written, overlapped);
    }
    WriteFile(file, bytes, static_cast<DWORD>(g_disk.bytesLeft), written, overlapped);
    g_disk.failed = true;
    SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

// The player may write the file but not delete or rename it: the move into place is refused,
// anything else goes to the system.
BOOL WINAPI MoveDeniesAccess(HANDLE file, int infoClass, LPVOID info, DWORD size)
{
    if (infoClass == kFileRenameInfo)
    {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return GetVistaFileFunctions().setFileInformationByHandle(file, infoClass, info, size);
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

TEST_F(SettingsFileWriterTest, ARefusedReplaceRewritesTheFileInPlace)
{
    // fopen shares reading and writing but not deleting: the file cannot be replaced while the
    // C runtime holds it, for reading or for writing. The new text is shorter than the old one,
    // then longer, then the old file is empty. A file the player may write but not delete has
    // its replace refused with access denied.
    const std::string longer(80, 'x');
    SettingsFileCalls accessDenied;
    accessDenied.setInformation = MoveDeniesAccess;
    const struct
    {
        std::string old;
        std::string text;
        std::string content;
        const char* holderMode;
        SettingsFileCalls calls;
    } cases[] = {{kOldContent, "\"A\" \"1\"\n", "\"A\" \"1\"\r\n", "r", {}},
                 {kOldContent, longer, longer, "r", {}},
                 {kOldContent, longer, longer, "r+", {}},
                 {"", "\"A\" \"1\"\n", "\"A\" \"1\"\r\n", "r", {}},
                 {kOldContent, longer, longer, nullptr, accessDenied}};
    for (const auto& test : cases)
    {
        m_folder.WriteFile("settings.cfg", test.old);
        FILE* const holder = test.holderMode ? fopen(Path().c_str(), test.holderMode) : nullptr;
        ASSERT_EQ(test.holderMode != nullptr, holder != nullptr);

        EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(Path(), test.text, test.calls))
            << "held with " << (test.holderMode ? test.holderMode : "nothing");
        if (holder)
            fclose(holder);
        EXPECT_EQ(test.content, Content());
        EXPECT_TRUE(NoLeftover());
    }
}

TEST_F(SettingsFileWriterTest, InPlaceOnAFullDiskTheTailGoesFirstAndAFailureRestoresTheOldFile)
{
    const std::string text(80, 'x');
    const long long oldSize = sizeof kOldContent - 1;
    SettingsFileCalls calls;
    calls.setInformation = MoveDeniesAccess;
    calls.writeInPlace = WriteFewBytesThenFail;
    // The disk fails within the bytes beyond the old end, then within the old bytes.
    for (const long long accepted : {4LL, 80 - oldSize + 4})
    {
        m_folder.WriteFile("settings.cfg", kOldContent);
        g_disk = {accepted, false, -1, false};

        EXPECT_EQ(SettingsWriteResult::WriteFailed, WriteSettingsFile(Path(), text, calls));
        EXPECT_EQ(oldSize, g_disk.firstWriteAt) << "old bytes go only once the rest is on disk";
        EXPECT_EQ(kOldContent, Content()) << accepted << " bytes accepted";
        EXPECT_TRUE(NoLeftover());
    }
}

TEST_F(SettingsFileWriterTest, AnInPlaceRewriteThatCannotPutTheOldBytesBackSaysSo)
{
    SettingsFileCalls calls;
    calls.setInformation = MoveDeniesAccess;
    calls.writeInPlace = WriteFewBytesThenFail;
    m_folder.WriteFile("settings.cfg", kOldContent);
    g_disk = {80 - static_cast<long long>(sizeof kOldContent - 1) + 4, false, -1, true};

    EXPECT_EQ(SettingsWriteResult::WriteFailedDamaged,
              WriteSettingsFile(Path(), std::string(80, 'x'), calls));
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, ALockOfAnotherProgramIsFoundBeforeAnyByteIsWrittenInPlace)
{
    // The game reads the file under a shared lock, and lets nobody delete it.
    m_folder.WriteFile("settings.cfg", kOldContent);
    const HANDLE reader =
        CreateFileA(Path().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_EXISTING, 0, nullptr);
    OVERLAPPED range = {};
    ASSERT_TRUE(LockFileEx(reader, 0, 0, MAXDWORD, 0, &range));
    SettingsFileCalls calls;
    calls.writeInPlace = WriteFewBytesThenFail;
    g_disk = {0, true, -1, false};

    EXPECT_EQ(SettingsWriteResult::WriteFailed,
              WriteSettingsFile(Path(), std::string(80, 'x'), calls));
    CloseHandle(reader);
    EXPECT_EQ(-1, g_disk.firstWriteAt) << "nothing was written";
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, AFileAScannerHoldsForAMomentIsWrittenOnceItLetsGo)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    const BriefFileHold scanner(Path(), 200);
    ASSERT_TRUE(scanner.Held());

    EXPECT_EQ(SettingsWriteResult::Written, Write("\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
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
    // The new file fails to take the text or to reach the disk.
    SettingsFileCalls failing[2];
    failing[0].write = WriteOnFullDisk;
    failing[1].commit = CommitOnFailingDisk;
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
    EXPECT_EQ(SettingsWriteResult::WriteFailed,
              WriteSettingsFile(Path(), "\"A\" \"1\"\n", failing[1]));
    EXPECT_FALSE(Exists("settings.cfg"));
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, TheWholeTextIsInTheNewFileWhenItIsPutOnTheDisk)
{
    SettingsFileCalls calls;
    calls.commit = CommitNotingTheSize;
    g_sizeAtCommit = -1;
    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(Path(), "\"A\" \"1\"\n", calls));
    EXPECT_EQ(9, g_sizeAtCommit);
}

TEST_F(SettingsFileWriterTest, ASettingsPathOfTheLongestLengthIsWrittenToo)
{
    // A folder just short enough for settings.cfg to end at the 259th character.
    const size_t length = MAX_PATH - sizeof "\\settings.cfg";
    std::string folder = m_folder.Path();
    while (folder.size() < length)
    {
        // Each folder's backslash and name; the last one takes what is left.
        const size_t left = length - folder.size();
        folder += '\\' + std::string(left <= 41 ? left - 1 : 30, 'd');
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder.size();
    }
    const std::string path = folder + "\\settings.cfg";
    ASSERT_EQ(path.size(), MAX_PATH - 1u);

    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(path, "\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", ReadWholeFile(path));
}
