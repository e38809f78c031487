#include "settings/SettingsFileWriter.h"

#include "settings/BriefHoldRetry.h"
#include "settings/SettingsFileInPlace.h"

#include <vector>

namespace
{
// The attributes a program can set and a replacing file should keep.
const DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsMissing(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES &&
           GetLastError() == ERROR_FILE_NOT_FOUND;
}

// True when nothing exists at `path` yet, or the existing file may be opened for writing
// now. Checked before anything is written, so that a file that cannot be replaced is
// reported as not openable and no new file is made for it.
bool MayReplace(const std::string& path, CBriefHoldRetry& retry)
{
    // A read-only file is refused by its attribute too, so that it is kept even where the
    // system would let a privileged user open or replace it regardless.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;

    HANDLE file = INVALID_HANDLE_VALUE;
    const auto open = [&path, &file]
    {
        file = CreateFileA(path.c_str(), GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        return file != INVALID_HANDLE_VALUE;
    };
    if (!retry.Run(path, open))
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

// Writes the whole text, puts it on the disk and closes the file; false when any step
// failed, including a failure that only shows when the buffered text reaches the disk. Only
// a file that is on the disk itself replaces the old one: after a power cut the player finds
// the old file or the complete new one, never an empty one.
bool WriteAndClose(FILE* file, const std::string& text, const SettingsFileCalls& calls)
{
    const bool written = calls.write(text.c_str(), file) != EOF && calls.flush(file) == 0 &&
                         !ferror(file) && calls.commit(_fileno(file)) == 0;
    const bool closed = calls.close(file) == 0;
    return written && closed;
}

// Gives the new file the attributes and the access rights of the old one. ReplaceFile does
// this on Windows; Wine's keeps neither, so it is done here as well. A failure leaves the
// new file with the folder's defaults, which is no reason to lose the player's choices.
void CopyAttributesAndSecurity(const std::string& from, const std::string& to)
{
    const DWORD attributes = GetFileAttributesA(from.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKeptAttributes) != 0)
        SetFileAttributesA(to.c_str(), attributes & kKeptAttributes);

    DWORD size = 0;
    GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    if (size == 0)
        return;
    std::vector<BYTE> descriptor(size);
    if (GetFileSecurityA(from.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size))
        SetFileSecurityA(to.c_str(), DACL_SECURITY_INFORMATION, descriptor.data());
}

bool MoveIntoPlace(const std::string& path, const std::string& newPath, CBriefHoldRetry& retry)
{
    return retry.Run(
        path, [&]
        { return MoveFileExA(newPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE; });
}

// Puts the complete file at `newPath` in the place of `path`.
bool PutInPlace(const std::string& path, const std::string& newPath, const SettingsFileCalls& calls,
                CBriefHoldRetry& retry)
{
    if (IsMissing(path))
        return MoveIntoPlace(path, newPath, retry);

    CopyAttributesAndSecurity(path, newPath);
    const auto replace = [&]
    {
        return calls.replace(path.c_str(), newPath.c_str(), nullptr,
                             REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != FALSE;
    };
    if (retry.Run(path, replace))
        return true;
    // Without a backup name, a replace that removed the old file but then could not move the
    // new one leaves no file at `path`: the new one is moved there.
    if (IsMissing(path))
        return MoveIntoPlace(path, newPath, retry);
    // The old file is still there: a program holds it open without sharing its deletion (the
    // C runtime's fopen does so), or the player may write it but not delete or rename it.
    // Its content is rewritten in place, if it can be written at all.
    return RewriteFileInPlace(path, newPath, calls.writeInPlace, retry);
}

void RemoveNewFile(const std::string& newPath, CBriefHoldRetry& retry)
{
    retry.Run(newPath, [&newPath]
              { return DeleteFileA(newPath.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; });
}
} // namespace

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text)
{
    return WriteSettingsFile(path, text, SettingsFileCalls());
}

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls)
{
    CBriefHoldRetry retry;
    if (path.empty() || !MayReplace(path, retry))
        return SettingsWriteResult::OpenFailed;

    const std::string newPath = path + ".new";
    FILE* file = nullptr;
    const auto open = [&]
    {
        file = calls.open(newPath.c_str(), "w");
        return file != nullptr;
    };
    if (!retry.Run(newPath, open))
        return SettingsWriteResult::OpenFailed;

    const bool written =
        WriteAndClose(file, text, calls) && PutInPlace(path, newPath, calls, retry);
    // After a replace the new file is gone; after a rewrite in place or a failure it is
    // removed, so that no save leaves it behind.
    RemoveNewFile(newPath, retry);
    return written ? SettingsWriteResult::Written : SettingsWriteResult::WriteFailed;
}
