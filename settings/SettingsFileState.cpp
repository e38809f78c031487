#include "settings/SettingsFileState.h"

#include <windows.h>

#include <new>
#include <utility>

bool IsLoadableSettingsSize(long long size)
{
    // A settings file holds a few dozen pairs. One far larger is no settings file the game
    // wrote, and reading it could take more memory than a 32-bit program has (see
    // kMaxSettingsTokens), so it counts as unreadable: it is kept and never written.
    return size >= 0 && size <= kMaxSettingsFileSize;
}

bool ReadSettingsFileState(void* file, SettingsFileState& state)
{
    LARGE_INTEGER size;
    FILETIME lastWrite;
    if (!GetFileSizeEx(file, &size) || !GetFileTime(file, nullptr, nullptr, &lastWrite))
        return false;
    if (!IsLoadableSettingsSize(size.QuadPart))
    {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }

    const DWORD length = static_cast<DWORD>(size.QuadPart);
    // A buffer that cannot be had (a huge file on a 32-bit process) counts as unreadable.
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[length + size_t{1}]());
    if (!buffer)
    {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    LARGE_INTEGER start = {};
    DWORD read = 0;
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN) ||
        !ReadFile(file, buffer.get(), length, &read, nullptr))
        return false;

    state.exists = true;
    state.size = size.QuadPart;
    state.lastWriteTime =
        (static_cast<unsigned long long>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
    state.bytes = std::move(buffer);
    return true;
}
