#include "settings/SettingsFile.h"

#include "settings/SettingsTokenizer.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <new>
#include <utility>

namespace
{
// The whole file in one zero-filled buffer of size + 1 bytes, so that the text always ends
// in a zero byte; null when the file cannot be sized or read. Bytes that a short read did
// not deliver stay zero and end the text there.
std::unique_ptr<char[]> ReadWholeFile(HANDLE file)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || !IsLoadableSettingsSize(size.QuadPart))
        return nullptr;

    const DWORD length = static_cast<DWORD>(size.QuadPart);
    // A buffer that cannot be had (a huge file on a 32-bit process) counts as unreadable.
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[length + size_t{1}]());
    if (!buffer)
        return nullptr;

    DWORD read = 0;
    if (!ReadFile(file, buffer.get(), length, &read, nullptr))
        return nullptr;
    return buffer;
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
    settings.m_tokens.clear();
    // Reading is shared with other readers only: a file that someone is writing is not read.
    const HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }

    const std::unique_ptr<char[]> text = ReadWholeFile(file);
    CloseHandle(file);
    if (!text)
        return false;
    settings.m_tokens = TokenizeSettingsText(text.get());
    return true;
}

bool CSettingsFile::TakeValue(const char* key, std::string& value)
{
    if (key == nullptr)
        return false;
    const auto found = std::find(m_tokens.begin(), m_tokens.end(), key);
    if (found == m_tokens.end())
        return false;

    const auto next = std::next(found);
    if (next == m_tokens.end())
    {
        m_tokens.erase(found);
        return false;
    }
    value = std::move(*next);
    m_tokens.erase(found, std::next(next));
    return true;
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
