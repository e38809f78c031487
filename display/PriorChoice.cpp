#include "display/DisplayCatalogue.h"

#include "settings/BoundedString.h"
#include "settings/FixedNames.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// fgets reads at most 511 bytes of a line at a time; the rest of a longer line arrives as the
// next piece and is scanned like a line of its own.
constexpr int kLinePieceSize = 512;
// A value keeps at most 63 characters.
constexpr size_t kValueSize = 64;

struct PriorKey
{
    const char* name;
    // Where the key's value is held; null for a key that only counts as seen.
    char (*value)[kValueSize];
    bool seen;
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Stores the value that starts at `text`: quotes and blanks before it are skipped, quotes and
// line feeds after it removed, but never its first character. A value longer than the
// buffer keeps its first 63 characters; the rest of it is dropped.
void StoreValue(char (&value)[kValueSize], const char* text)
{
    while (*text == '"' || IsBlank(*text))
        ++text;
    BoundedCopy(value, text, kValueSize);
    size_t length = strlen(value);
    while (length > 1 && (value[length - 1] == '"' || value[length - 1] == '\n'))
        value[--length] = '\0';
}

// The number at the start of a value, like atoi, but with a defined result for a value that
// is too large: it is clamped, so it can match no resolution.
int ToNumber(const char* value)
{
    return static_cast<int>(strtol(value, nullptr, 10));
}
} // namespace

bool DisplayCatalogue::ReadPriorChoice(const wchar_t* settingsFileName)
{
    if (settingsFileName == nullptr)
        return false;
    FILE* file = _wfopen(settingsFileName, L"r");
    if (file == nullptr)
        return false;

    char width[kValueSize] = "640";
    char height[kValueSize] = "480";
    char bitDepth[kValueSize] = "16";
    // Compared in this order; the device name is read past, not used.
    PriorKey keys[] = {{"DeviceName", nullptr, false},
                       {"ScreenWidth", &width, false},
                       {"ScreenHeight", &height, false},
                       {"BitDepth", &bitDepth, false}};

    auto allSeen = [&keys]
    {
        for (const PriorKey& key : keys)
            if (!key.seen)
                return false;
        return true;
    };

    char line[kLinePieceSize];
    while (!allSeen() && fgets(line, sizeof line, file) != nullptr)
    {
        const char* text = line[0] == '"' ? line + 1 : line;
        for (PriorKey& key : keys)
        {
            const size_t keyLength = strlen(key.name);
            if (_strnicmp(text, key.name, keyLength) != 0)
                continue;
            if (key.value != nullptr)
                StoreValue(*key.value, text + keyLength);
            key.seen = true;
            break;
        }
    }
    fclose(file);

    m_chosenRenderer = FindRenderer(kRendererLabel);
    if (m_chosenRenderer != nullptr)
        if (DisplayInfo* display = m_chosenRenderer->FirstDisplay())
            display->SelectResolution(ToNumber(width), ToNumber(height), ToNumber(bitDepth));
    return true;
}
