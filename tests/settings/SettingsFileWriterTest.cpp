#include "settings/save/SettingsFileSave.h"

#include "settings/SettingsFile.h"
#include "settings/SettingsFolder.h"
#include "settings/SettingsText.h"
#include "settings/SettingsTokenizer.h"
#include "tests/support/BriefFileHold.h"
#include "tests/support/FileContent.h"
#include "tests/support/RenameRefusal.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <sddl.h>

#include <gtest/gtest.h>

#include <algorithm>
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

// The player may write the file but not delete or rename it.
const auto MoveDeniesAccess = RefuseRenames<static_cast<LONG>(0xC0000022L)>;

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

    // Folders and a file named on disk as the path spells them but for case are no links.
    ASSERT_TRUE(DeleteFileA(Path().c_str()));
    m_folder.WriteFile("SETTINGS.CFG", kOldContent);
    std::string upper = m_folder.Path();
    CharUpperA(&upper[0]);
    EXPECT_EQ(SettingsWriteResult::Written,
              WriteSettingsFile(upper + "\\settings.cfg", "\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
}

TEST_F(SettingsFileWriterTest, UnopenableTargetsFailToOpenAndChangeNothing)
{
    EXPECT_EQ(SettingsWriteResult::OpenFailed, WriteSettingsFile("", "\"A\" \"1\"\n"));

    EXPECT_EQ(SettingsWriteResult::OpenFailed,
              WriteSettingsFile(m_folder / "missing\\settings.cfg", "\"A\" \"1\"\n"));
    EXPECT_FALSE(Exists("missing"));

    // A program writing the file: what it holds now cannot be read.
    m_folder.WriteFile("settings.cfg", kOldContent);
    FILE* const writer = fopen(Path().c_str(), "r+");
    ASSERT_NE(writer, nullptr);
    EXPECT_EQ(SettingsWriteResult::ReadFailed, Write("\"A\" \"1\"\n"));
    fclose(writer);
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());

    // A folder standing where the file should be.
    ASSERT_TRUE(DeleteFileA(Path().c_str()));
    ASSERT_TRUE(CreateDirectoryA(Path().c_str(), nullptr));
    EXPECT_EQ(SettingsWriteResult::ReadFailed, Write("\"A\" \"1\"\n"));
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
    // C runtime holds it for reading. The new text is shorter than the old one, then longer,
    // then the old file is empty. A file the player may write but not delete has its replace
    // refused with access denied.
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

namespace
{
// What the rename calls of one save met: the information class and flags of the first, and
// whether another program could open the settings file for writing while it was asked.
struct RenameWitness
{
    std::string path;
    ULONG firstClass;
    ULONG firstFlags;
    bool writerGotIn;
};
RenameWitness g_rename;

NTSTATUS NTAPI WitnessRenames(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG size,
                              ULONG infoClass)
{
    if ((infoClass == kFileRenameInformation || infoClass == kFileRenameInformationEx) &&
        g_rename.firstClass == 0)
    {
        g_rename.firstClass = infoClass;
        g_rename.firstFlags = static_cast<RenameInformation*>(info)->flags;
        const HANDLE writer = CreateFileA(g_rename.path.c_str(), GENERIC_WRITE, 7, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        g_rename.writerGotIn = writer != INVALID_HANDLE_VALUE;
        if (g_rename.writerGotIn)
            CloseHandle(writer);
    }
    return GetSystemFileFunctions().ntSetInformationFile(file, status, info, size, infoClass);
}

// Random bytes from a list, one value a call, the last one again when it runs out.
std::vector<unsigned long> g_randomValues;
size_t g_randomCalls;
BOOLEAN WINAPI ListedRandom(PVOID buffer, ULONG size)
{
    const unsigned long value =
        g_randomValues[std::min(g_randomCalls++, g_randomValues.size() - 1)];
    memcpy(buffer, &value, std::min<size_t>(size, sizeof value));
    return TRUE;
}

BOOL WINAPI WriteAllButOneByte(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                               LPOVERLAPPED overlapped)
{
    return WriteFile(file, bytes, size > 0 ? size - 1 : 0, written, overlapped);
}

// Another program makes the settings file at `g_madeMeanwhile` while the new one is written.
std::string g_madeMeanwhile;
BOOL WINAPI WriteWhileAnotherProgramMakesTheFile(HANDLE file, LPCVOID bytes, DWORD size,
                                                 LPDWORD written, LPOVERLAPPED overlapped)
{
    WriteWholeFile(g_madeMeanwhile, "\"Other\" \"made\"\r\n");
    return WriteFile(file, bytes, size, written, overlapped);
}

// Another program rewrites the settings file at `g_madeMeanwhile` once the save let go of it,
// and the file system refuses to move the new file into its place.
NTSTATUS NTAPI RenameRefusedAfterAnotherProgramWrote(HANDLE file, PIO_STATUS_BLOCK status,
                                                     PVOID info, ULONG size, ULONG infoClass)
{
    if (infoClass != kFileRenameInformation)
        return GetSystemFileFunctions().ntSetInformationFile(file, status, info, size, infoClass);
    WriteWholeFile(g_madeMeanwhile, "\"Other\" \"made\"\r\n");
    return static_cast<NTSTATUS>(0xC00000D4L); // STATUS_NOT_SAME_DEVICE
}

// Another program rewrites the settings file at `g_madeMeanwhile` the moment the save lets go
// of it, where Windows refuses to replace a held file (before Windows 10): the rewrite comes
// right before the save's next question to the file system.
bool g_letGo;
NTSTATUS NTAPI HeldFileNotReplaced(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG size,
                                   ULONG infoClass)
{
    if (infoClass != kFileRenameInformationEx)
        return GetSystemFileFunctions().ntSetInformationFile(file, status, info, size, infoClass);
    g_letGo = true;
    return static_cast<NTSTATUS>(0xC0000002L); // STATUS_NOT_IMPLEMENTED
}
// The rewrite holds `g_rewrite` and sets the write time `g_writeTimeMoved` (100 ns units) after
// the old one, so that a test tells a change by its size or by its write time alone.
std::string g_rewrite;
ULONGLONG g_writeTimeMoved;
NTSTATUS NTAPI RewrittenOnceLetGo(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG size,
                                  ULONG infoClass)
{
    if (g_letGo)
    {
        ULARGE_INTEGER time = {};
        GetFileTime(file, nullptr, nullptr, reinterpret_cast<FILETIME*>(&time));
        WriteWholeFile(g_madeMeanwhile, g_rewrite);
        time.QuadPart += g_writeTimeMoved;
        const HANDLE again = CreateFileA(g_madeMeanwhile.c_str(), FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr);
        SetFileTime(again, nullptr, nullptr, reinterpret_cast<FILETIME*>(&time));
        CloseHandle(again);
    }
    g_letGo = false;
    return GetSystemFileFunctions().ntQueryInformationFile(file, status, info, size, infoClass);
}

// A file system that reports a reparse point with `g_reparseTag` on every file whose name ends
// in `g_taggedName`.
ULONG g_reparseTag;
std::wstring g_taggedName;
NTSTATUS NTAPI ReportReparseTag(HANDLE file, PIO_STATUS_BLOCK status, PVOID info, ULONG size,
                                ULONG infoClass)
{
    const NTSTATUS result =
        GetSystemFileFunctions().ntQueryInformationFile(file, status, info, size, infoClass);
    wchar_t path[MAX_PATH] = {};
    const std::wstring name(
        path, GetSystemFileFunctions().getFinalPathNameByHandle(file, path, MAX_PATH, 0));
    if (infoClass == kFileAttributeTagInformation && name.size() >= g_taggedName.size() &&
        name.compare(name.size() - g_taggedName.size(), std::wstring::npos, g_taggedName) == 0)
    {
        static_cast<AttributeTagInformation*>(info)->fileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        static_cast<AttributeTagInformation*>(info)->reparseTag = g_reparseTag;
    }
    return result;
}
} // namespace

TEST_F(SettingsFileWriterTest, NoOtherProgramWritesTheFileOrRenamesItsFolderDuringASave)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    g_rename = {Path(), 0, 0, true};
    SettingsFileCalls calls;
    calls.setInformation = WitnessRenames;
    {
        CSettingsFileSave save(calls);
        CSettingsFile read;
        ASSERT_EQ(SettingsWriteResult::Written, save.Begin(Path(), read));
        EXPECT_FALSE(MoveFileA(m_folder.Path().c_str(), (m_folder.Path() + "-moved").c_str()));
        EXPECT_EQ(SettingsWriteResult::Written, save.Replace("\"A\" \"1\"\n"));
    }
    // Windows 10 replaces the held file at once; elsewhere the classic rename follows.
    EXPECT_EQ(kFileRenameInformationEx, g_rename.firstClass);
    EXPECT_EQ(kRenameReplaceIfExists | kRenamePosixSemantics, g_rename.firstFlags);
    EXPECT_FALSE(g_rename.writerGotIn);
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
    EXPECT_TRUE(NoLeftover());
}

TEST_F(SettingsFileWriterTest, AFileAtTheNewFilesNameIsLeftAloneAndFourOfThemFailTheOpen)
{
    m_folder.WriteFile("settings.cfg", kOldContent);
    m_folder.WriteFile("00001234.tmp", "planted");
    SettingsFileCalls calls;
    calls.random = ListedRandom;
    for (const auto& values : {std::vector<unsigned long>{0x1234, 0x5678}, {0x1234}})
    {
        g_randomValues = values;
        g_randomCalls = 0;
        const SettingsWriteResult expected =
            values.size() > 1 ? SettingsWriteResult::Written : SettingsWriteResult::OpenFailed;
        EXPECT_EQ(expected, WriteSettingsFile(Path(), "\"A\" \"1\"\n", calls));
        EXPECT_EQ("planted", m_folder.ReadFile("00001234.tmp"));
        EXPECT_FALSE(Exists("00005678.tmp"));
    }
    EXPECT_EQ(4u, g_randomCalls) << "four names are tried";
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
}

TEST_F(SettingsFileWriterTest, AShortWriteFailsAndASaveNobodyHoldsNeverRewritesInPlace)
{
    SettingsFileCalls shortWrite;
    shortWrite.write = WriteAllButOneByte;
    SettingsFileCalls noInPlace;
    noInPlace.writeInPlace = WriteOnFullDisk;
    m_folder.WriteFile("settings.cfg", kOldContent);
    EXPECT_EQ(SettingsWriteResult::WriteFailed,
              WriteSettingsFile(Path(), "\"A\" \"1\"\n", shortWrite));
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(Path(), "\"A\" \"1\"\n", noInPlace));
    EXPECT_EQ("\"A\" \"1\"\r\n", Content());
}

TEST_F(SettingsFileWriterTest, AFileMadeOrRewrittenWhereTheSaveCannotHoldItIsKeptToMerge)
{
    // Made while the new file is written, where there was none; rewritten after the save let go
    // of it, before it could be rewritten in place, or before it could be replaced: once to the
    // same size, once with the old write time put back.
    SettingsFileCalls made;
    made.write = WriteWhileAnotherProgramMakesTheFile;
    SettingsFileCalls rewritten;
    rewritten.setInformation = RenameRefusedAfterAnotherProgramWrote;
    SettingsFileCalls letGo;
    letGo.setInformation = HeldFileNotReplaced;
    letGo.queryInformation = RewrittenOnceLetGo;
    g_letGo = false;
    const std::string sameSize = "\"Renderer\" \"New\"\r\n\"Custom\" \"kept\"\r\n";
    const struct
    {
        const SettingsFileCalls* calls;
        std::string rewrite;
        ULONGLONG writeTimeMoved;
    } changes[] = {{&made, "\"Other\" \"made\"\r\n", 0},
                   {&rewritten, "\"Other\" \"made\"\r\n", 0},
                   {&letGo, sameSize, 10000000},
                   {&letGo, "\"Other\" \"made\"\r\n", 0}};
    for (const auto& change : changes)
    {
        DeleteFileA(Path().c_str());
        if (change.calls != &made)
            m_folder.WriteFile("settings.cfg", kOldContent);
        g_madeMeanwhile = Path();
        g_rewrite = change.rewrite;
        g_writeTimeMoved = change.writeTimeMoved;
        CSettingsFileSave save(*change.calls);
        CSettingsFile read;
        ASSERT_EQ(SettingsWriteResult::Written, save.Begin(Path(), read));
        EXPECT_EQ(SettingsWriteResult::ChangedMeanwhile, save.Replace("\"A\" \"1\"\n"));
        EXPECT_EQ(change.rewrite, Content());
    }
}

TEST_F(SettingsFileWriterTest, ATextALoadWouldRefuseIsNotWrittenAndTheOldFileIsKept)
{
    std::string most;
    for (size_t pairs = 0; pairs < kMaxSettingsTokens / 2; ++pairs)
        most += "a 1\n";
    m_folder.WriteFile("settings.cfg", kOldContent);
    for (const std::string& refused :
         {most + "b 2\n", std::string(static_cast<size_t>(kMaxSettingsFileSize) - 1, 'x') + "\n"})
        EXPECT_EQ(SettingsWriteResult::WriteFailed, WriteSettingsFile(Path(), refused));
    EXPECT_EQ(kOldContent, Content());
    EXPECT_TRUE(NoLeftover());
    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(Path(), most));
}

TEST_F(SettingsFileWriterTest, OnlyReparsePointsThatRedirectANameAreRefused)
{
    SettingsFileCalls calls;
    calls.queryInformation = ReportReparseTag;
    const struct
    {
        const wchar_t* name;
        ULONG tag;
        SettingsWriteResult begun;
        SettingsWriteResult replaced;
    } tags[] = {
        {L"settings.cfg", IO_REPARSE_TAG_DEDUP, SettingsWriteResult::Written,
         SettingsWriteResult::Written},
        {L"settings.cfg", IO_REPARSE_TAG_SYMLINK, SettingsWriteResult::ReadFailed, {}},
        {L"settings.cfg", IO_REPARSE_TAG_MOUNT_POINT, SettingsWriteResult::ReadFailed, {}},
        // The new file itself, made and found to be a link: it is removed again.
        {L".tmp", IO_REPARSE_TAG_SYMLINK, SettingsWriteResult::Written,
         SettingsWriteResult::OpenFailed},
    };
    for (const auto& test : tags)
    {
        m_folder.WriteFile("settings.cfg", kOldContent);
        g_taggedName = test.name;
        g_reparseTag = test.tag;
        CSettingsFileSave save(calls);
        CSettingsFile read;
        ASSERT_EQ(test.begun, save.Begin(Path(), read)) << std::hex << test.tag;
        if (test.begun == SettingsWriteResult::Written)
        {
            EXPECT_EQ(test.replaced, save.Replace("\"A\" \"1\"\n")) << std::hex << test.tag;
        }
        EXPECT_TRUE(NoLeftover());
    }
    EXPECT_EQ(kOldContent, Content()) << "a link is left alone";
}

TEST(ImmutableFolder, AFileInAFolderThatTakesNoNewFileIsRewrittenInPlace)
{
    const std::string folders = "C:\\immutable\\";
    const std::string withFile = folders + "with-file\\Kerrowind\\DRAV\\settings.cfg";
    ASSERT_EQ("\"Old\" \"1\"\r\n", ReadWholeFile(withFile)) << "run through CTest, which makes it";
    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(withFile, "\"A\" \"1\"\n"));
    EXPECT_EQ("\"A\" \"1\"\r\n", ReadWholeFile(withFile));

    // Rewritten in place through the save's own handle, which is let go before Replace returns:
    // a reader that shares only reading opens the file at once.
    CSettingsFileSave save;
    CSettingsFile read;
    ASSERT_EQ(SettingsWriteResult::Written, save.Begin(withFile, read));
    EXPECT_EQ(SettingsWriteResult::Written, save.Replace("\"B\" \"2\"\n"));
    const HANDLE reader = CreateFileA(withFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);

    const std::string withoutFile = folders + "without-file\\Kerrowind\\DRAV\\settings.cfg";
    EXPECT_EQ(SettingsWriteResult::OpenFailed, WriteSettingsFile(withoutFile, "\"A\" \"1\"\n"));
    EXPECT_FALSE(PathExists(withoutFile.c_str()));
}
