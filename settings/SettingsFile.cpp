#include "settings/SettingsFile.h"

#include "settings/SettingsPairs.h"
#include "settings/SettingsText.h"
#include "settings/SettingsTokenizer.h"
#include "settings/save/BriefHoldRetry.h"
#include "settings/save/HeldSettingsFolder.h"
#include "text/TextConversion.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
bool ReadSettingsFile(const CHeldSettingsFolder& folder, SettingsFileState& state)
{
    // Reading is shared with other readers only: a file that someone is writing is not read.
    const HANDLE file = folder.OpenFile(folder.FileName(), GENERIC_READ, FILE_SHARE_READ,
                                        OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool read = ReadSettingsFileState(file, state);
    const DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    return read;
}

bool IsMissing(DWORD error)
{
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// UTF-16 text without its byte-order mark: its text in the ANSI code page into `text`. An odd
// last byte is no character and is left out.
bool Utf16ToAnsi(const unsigned char* bytes, size_t size, bool bigEndian, std::string& text)
{
    std::wstring wide(size / 2, L'\0');
    for (size_t at = 0; at < wide.size(); ++at)
    {
        const unsigned char first = bytes[2 * at];
        const unsigned char second = bytes[2 * at + 1];
        wide[at] = static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
    }
    return WideToAnsiExactly(wide, text);
}

// A text editor's "Unicode" without a byte-order mark, told by its bytes: somewhere two
// two-byte units in a row each hold one zero byte, in the same place, as ASCII characters do
// in UTF-16 (every key and quote is one). An ANSI text holds no zero bytes, or runs of them
// where a crash left them. `bigEndian` receives whether the zero byte comes first.
bool IsUnmarkedUtf16(const unsigned char* bytes, size_t size, bool& bigEndian)
{
    for (size_t at = 0; at + 4 <= size; at += 2)
    {
        const bool littleEnd =
            bytes[at] != 0 && bytes[at + 1] == 0 && bytes[at + 2] != 0 && bytes[at + 3] == 0;
        const bool bigEnd =
            bytes[at] == 0 && bytes[at + 1] != 0 && bytes[at + 2] == 0 && bytes[at + 3] != 0;
        if (littleEnd || bigEnd)
        {
            bigEndian = bigEnd;
            return true;
        }
    }
    return false;
}

bool HasUtf16Mark(const unsigned char* bytes, size_t size, bool& bigEndian)
{
    bigEndian = size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
    return bigEndian || (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE);
}
} // namespace

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
    return FromBytes(state.bytes.get(), static_cast<size_t>(state.size), settings);
}

bool CSettingsFile::FromBytes(const char* bytes, size_t size, CSettingsFile& settings)
{
    settings.m_tokens.clear();
    const auto* unsignedBytes = reinterpret_cast<const unsigned char*>(bytes);
    bool bigEndian = false;
    const size_t markSize = HasUtf16Mark(unsignedBytes, size, bigEndian) ? 2 : 0;
    const bool utf16 = markSize != 0 || IsUnmarkedUtf16(unsignedBytes, size, bigEndian);
    std::string converted;
    if (utf16 && !Utf16ToAnsi(unsignedBytes + markSize, size - markSize, bigEndian, converted))
        return false;
    std::vector<bool> lineStarts;
    const bool read = utf16 ? TokenizeSettingsText(converted, settings.m_tokens, &lineStarts)
                            : TokenizeSettingsText(bytes, size, settings.m_tokens, &lineStarts);
    if (!read)
        return false;
    DropKeysWithoutValues(settings.m_tokens, lineStarts);
    return true;
}

bool CSettingsFile::TakeValue(const char* key, std::string& value)
{
    return key != nullptr && TakeSettingsPair(m_tokens, key, value);
}

bool CSettingsFile::TakeLine(const char* key, std::string& text)
{
    std::string value;
    if (!TakeValue(key, value))
        return false;
    AppendSettingsLine(text, key, value);
    // Later copies go: the game reads the first.
    while (TakeValue(key, value))
        continue;
    return true;
}

bool CSettingsFile::Holds(const char* key) const
{
    return key != nullptr && std::find(m_tokens.begin(), m_tokens.end(), key) != m_tokens.end();
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
