#include "settings/SettingsFile.h"

#include "settings/BriefHoldRetry.h"
#include "settings/HeldSettingsFolder.h"
#include "settings/SettingsPairs.h"
#include "settings/SettingsTokenizer.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace
{
// The file's size and bytes into `state`, in one zero-filled buffer of size + 1 bytes, so
// that the text always ends in a zero byte. Bytes that a short read did not deliver stay zero
// and end the text there. False, with the reason in GetLastError, when the file cannot be
// sized or read.
bool ReadFileState(HANDLE file, SettingsFileState& state)
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
    DWORD read = 0;
    if (!ReadFile(file, buffer.get(), length, &read, nullptr))
        return false;

    state.exists = true;
    state.size = size.QuadPart;
    state.lastWriteTime =
        (static_cast<unsigned long long>(lastWrite.dwHighDateTime) << 32) | lastWrite.dwLowDateTime;
    state.bytes = std::move(buffer);
    return true;
}

bool ReadSettingsFile(const CHeldSettingsFolder& folder, SettingsFileState& state)
{
    // Reading is shared with other readers only: a file that someone is writing is not read.
    const HANDLE file =
        folder.OpenFile(folder.FileName(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING,
                        FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool read = ReadFileState(file, state);
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return read;
}

bool IsMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}
} // namespace

bool IsLoadableSettingsSize(long long size)
{
    // A settings file holds a few dozen pairs. One far larger is no settings file the game
    // wrote, and reading it could take more memory than a 32-bit program has (see
    // kMaxSettingsTokens), so it counts as unreadable: it is kept and never written.
    return size >= 0 && size <= kMaxSettingsFileSize;
}

CSettingsFile CSettingsFile::Load(const char* path)
{
    CSettingsFile settings;
    Load(path, settings);
    return settings;
}

bool CSettingsFile::Load(const char* path, CSettingsFile& settings)
{
    SettingsFileState state;
    return Load(path, settings, state);
}

bool CSettingsFile::Load(const char* path, CSettingsFile& settings, SettingsFileState& state)
{
    settings.m_tokens.clear();
    state = SettingsFileState();
    CHeldSettingsFolder folder;
    if (path == nullptr || !folder.Open(path))
        return path != nullptr && IsMissing(GetLastError());
    CBriefHoldRetry retry;
    if (!retry.Run(path, [&folder, &state] { return ReadSettingsFile(folder, state); }))
        return IsMissing(GetLastError());
    std::vector<bool> lineStarts;
    if (!TokenizeSettingsText(state.bytes.get(), settings.m_tokens, &lineStarts))
        return false;
    DropKeysWithoutValues(settings.m_tokens, lineStarts);
    return true;
}

bool CSettingsFile::TakeValue(const char* key, std::string& value)
{
    return key != nullptr && TakeSettingsPair(m_tokens, key, value);
}

std::string CSettingsFile::TakeString(const char* key, const char* defaultValue)
{
    std::string value;
    if (TakeValue(key, value))
        return value;
    return defaultValue != nullptr ? defaultValue : "";
}

int CSettingsFile::TakeInt(const char* key, int defaultValue)
{
    std::string value;
    return TakeValue(key, value) ? atoi(value.c_str()) : defaultValue;
}

bool CSettingsFile::TakeBool(const char* key, bool defaultValue)
{
    std::string value;
    return TakeValue(key, value) ? value == "1" : defaultValue;
}
