#include "settings/SettingsFile.h"

#include "settings/BriefHoldRetry.h"
#include "settings/SettingsPairs.h"
#include "settings/SettingsTokenizer.h"

#include <windows.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

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

bool ReadSettingsFile(const char* path, SettingsFileState& state)
{
    // Reading is shared with other readers only: a file that someone is writing is not read.
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool read = ReadFileState(file, state);
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return read;
}
} // namespace

bool IsLoadableSettingsSize(long long size)
{
    // From 4 GiB minus one byte on, size + 1 no longer fits in 32 bits; cutting the size to
    // its low 32 bits would read a wrong part of the file, so such a file counts as
    // unreadable and gives an empty store.
    return size >= 0 && size < 0xFFFFFFFFLL;
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
    CBriefHoldRetry retry;
    if (!retry.Run(path, [path, &state] { return ReadSettingsFile(path, state); }))
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    settings.m_tokens = TokenizeSettingsText(state.bytes.get());
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
