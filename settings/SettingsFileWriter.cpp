#include "settings/SettingsFileWriter.h"

#include "settings/SettingsFileInPlace.h"

#include <vector>

namespace
{
const SettingsFileCalls kSystemCalls = {fopen, fputs, fflush, fclose, WriteFile};

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
bool MayReplace(const std::string& path)
{
    // A read-only file is refused by its attribute too, so that it is kept even where the
    // system would let a privileged user open or replace it regardless.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return false;

    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

// Writes the whole text and closes the file; false when any step failed, including a
// failure that only shows when the buffered text reaches the disk.
bool WriteAndClose(FILE* file, const std::string& text, const SettingsFileCalls& calls)
{
    const bool written =
        calls.write(text.c_str(), file) != EOF && calls.flush(file) == 0 && !ferror(file);
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

// True when a program holds the file open without sharing deletion, so that it can be
// neither replaced nor removed while that program runs.
bool IsHeldOpen(const std::string& path)
{
    const HANDLE file =
        CreateFileA(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_SHARING_VIOLATION;
    CloseHandle(file);
    return false;
}

// Puts the complete file at `newPath` in the place of `path`.
bool PutInPlace(const std::string& path, const std::string& newPath, const SettingsFileCalls& calls)
{
    if (IsMissing(path))
        return MoveFileExA(newPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;

    CopyAttributesAndSecurity(path, newPath);
    if (ReplaceFileA(path.c_str(), newPath.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return true;
    // Without a backup name, a replace that removed the old file but then could not move the
    // new one leaves no file at `path`: the new one is moved there.
    if (IsMissing(path))
        return MoveFileExA(newPath.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    // A program that holds the file open (the C runtime's fopen shares no deletion) still
    // lets it be written.
    if (!IsHeldOpen(path) || !RewriteFileInPlace(path, newPath, calls.writeInPlace))
        return false;
    DeleteFileA(newPath.c_str());
    return true;
}
} // namespace

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text)
{
    return WriteSettingsFile(path, text, kSystemCalls);
}

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls)
{
    if (path.empty() || !MayReplace(path))
        return SettingsWriteResult::OpenFailed;

    const std::string newPath = path + ".new";
    FILE* const file = calls.open(newPath.c_str(), "w");
    if (file == nullptr)
        return SettingsWriteResult::OpenFailed;

    if (!WriteAndClose(file, text, calls) || !PutInPlace(path, newPath, calls))
    {
        DeleteFileA(newPath.c_str());
        return SettingsWriteResult::WriteFailed;
    }
    return SettingsWriteResult::Written;
}
