#pragma once

#include "settings/SettingsFile.h"
#include "settings/SettingsFileState.h"
#include "settings/save/BriefHoldRetry.h"
#include "settings/save/HeldSettingsFolder.h"
#include "settings/save/SettingsFileCalls.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

enum class SettingsWriteResult
{
    Written,
    // The file exists but cannot be read now (a program writes it, it is a link, too big, or not
    // convertible): nothing was changed.
    ReadFailed,
    // The file cannot be written at all (read-only, held by a program that denies writing, no
    // folder for it): nothing was changed.
    OpenFailed,
    // Writing the new content failed, or it is more than a load reads; the old file, if there
    // was one, is kept as it was.
    WriteFailed,
    // Rewriting the file in place failed, and so did putting it back.
    WriteFailedDamaged,
    // Another program made or rewrote the file during the save, where the launcher could not
    // hold it: nothing was changed. Read it again, and write what it holds now.
    ChangedMeanwhile,
};

// One save of the settings file: Begin reads it, the caller composes the new text from what it
// read, and Replace puts that text in its place. Only through checked handles in held folders
// (CHeldSettingsFolder): when the file, its folder or the folder above it is a link, or the file
// has a second name, nothing is read, written or removed.
//
// No change of another program is lost: from Begin until the new file is in place the settings
// file is held open without sharing writing, so that another program cannot write it (its
// open fails with a sharing violation, which it sees as a brief hold). Where Windows replaces a
// file that is open (POSIX semantics, Windows 10 1709 on) it stays held through the
// replacement; elsewhere (older Windows, Wine) it is let go right before the rename, and the
// file at its name must then still be the one Begin read (the same file, size and write time),
// which also sees a program that writes without regard to the hold (one outside Wine). A file
// that did not exist at Begin cannot be held: the new file goes in only if none has been made
// meanwhile. When one has, or when a file that was let go changed before it is replaced or
// rewritten in place, the result is ChangedMeanwhile, so that the caller reads the new file and
// merges it.
//
// The text goes to a new file in the same folder first (CTemporarySettingsFile) and reaches the
// disk itself before that file takes the old one's place, so neither a failure nor a power cut
// leaves the file empty or cut short. An existing file keeps its attributes and its access
// rights. When the old file cannot be replaced but can be written (a program holds it open
// without sharing its deletion, the player may write it but not delete it, or the folder takes
// no new file), the new content is written over it in place instead, all or nothing
// (RewriteFileInPlace); a power cut during that rewrite can leave it damaged. The new file is
// gone after every save. A program that holds the file for a moment is waited for
// (CBriefHoldRetry), one budget for the whole save.
class CSettingsFileSave
{
public:
    explicit CSettingsFileSave(const SettingsFileCalls& calls = SettingsFileCalls());
    ~CSettingsFileSave();
    CSettingsFileSave(const CSettingsFileSave&) = delete;
    CSettingsFileSave& operator=(const CSettingsFileSave&) = delete;

    // Opens the settings file at `path` (ANSI code page) and reads it into `settings`
    // (CSettingsFile::FromBytes) and State(). Written
    // when it was read or does not exist (`settings` is then empty); otherwise ReadFailed or
    // OpenFailed, and Replace must not be called.
    SettingsWriteResult Begin(const std::string& path, CSettingsFile& settings);
    // Replaces the file with `text`, each line feed written as CR LF; an empty text gives a
    // zero-byte file. A text that a load would refuse for its size or its count of tokens is
    // not written: WriteFailed, and the old file is kept. The file is let go on return, so that
    // it can be read back at once.
    SettingsWriteResult Replace(const std::string& text);

    // What Begin read.
    const SettingsFileState& State() const { return m_state; }
    // The same, taken over by the caller.
    SettingsFileState TakeState() { return std::move(m_state); }

private:
    // Lets go of the settings file, so that a rename may replace it.
    void Release();
    // True when the file, opened to be written, can be read by a plain reader all the same.
    bool IsReadable() const;
    // Replace, with the bytes as they go on the disk.
    SettingsWriteResult ReplaceWith(const std::string& bytes);
    // True when the file at the settings file's name is the one Begin read, of the size and
    // the write time it had then.
    bool IsAsRead() const;
    // Opens the file again to write `bytes` over it in place, unless it changed since Begin.
    SettingsWriteResult RewriteReopened(const std::string& bytes);
    // Writes `bytes` over the open `file` in place.
    SettingsWriteResult Rewrite(HANDLE file, const std::string& bytes);

    const SettingsFileCalls m_calls;
    CHeldSettingsFolder m_folder;
    CBriefHoldRetry m_retry;
    std::string m_path;
    // The settings file, held open without sharing writing; INVALID_HANDLE_VALUE when it does
    // not exist or was let go.
    HANDLE m_held = INVALID_HANDLE_VALUE;
    SettingsFileState m_state;
    // The volume and the index of the file Begin read.
    BY_HANDLE_FILE_INFORMATION m_readFile = {};
    // What the new file takes over from the old one: the attributes a program can set, and a
    // self-relative security descriptor with the old file's DACL (empty when unreadable).
    DWORD m_attributes = 0;
    std::vector<BYTE> m_security;
};

// Replaces the settings file at `path` with `text` in one save (CSettingsFileSave), whatever
// it held; with the calls that write taken from `calls`.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls = SettingsFileCalls());
