#include "settings/SettingsFileWriter.h"

#include <windows.h>

namespace
{
const SettingsFileCalls kRuntimeCalls = {fopen, fputs, fflush, fclose};

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
} // namespace

SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text)
{
    return WriteSettingsFile(path, text, kRuntimeCalls);
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

    if (!WriteAndClose(file, text, calls) ||
        !MoveFileExA(newPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    {
        DeleteFileA(newPath.c_str());
        return SettingsWriteResult::WriteFailed;
    }
    return SettingsWriteResult::Written;
}
