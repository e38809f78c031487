#include "display/PriorChoiceLines.h"

#include "settings/BoundedString.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

char ToLowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// True when `text` starts with `prefix`, ASCII letters compared without case as the C
// locale's _strnicmp does.
bool StartsWithNoCase(const char* text, const char* prefix)
{
    for (; *prefix != '\0'; ++text, ++prefix)
        if (ToLowerAscii(*text) != ToLowerAscii(*prefix))
            return false;
    return true;
}

int ToNumber(const char* value)
{
    const long number = strtol(value, nullptr, 10);
    if (number > INT_MAX)
        return INT_MAX;
    if (number < INT_MIN)
        return INT_MIN;
    return int(number);
}
} // namespace

void PriorChoiceLines::Take(const char* line)
{
    static const char* const kNames[kKeyCount] = {"DeviceName", "ScreenWidth", "ScreenHeight",
                                                  "BitDepth"};
    const char* text = line[0] == '"' ? line + 1 : line;
    for (int key = 0; key < kKeyCount; ++key)
    {
        if (!StartsWithNoCase(text, kNames[key]))
            continue;
        const char* value = text + strlen(kNames[key]);
        while (*value == '"' || IsBlank(*value))
            ++value;
        char* stored = m_values[key];
        BoundedCopy(stored, value, kValueSize);
        size_t length = strlen(stored);
        while (length > 1 && (stored[length - 1] == '"' || stored[length - 1] == '\n'))
            stored[--length] = '\0';
        m_seen[key] = true;
        return;
    }
}

bool PriorChoiceLines::WantsMore() const
{
    for (const bool seen : m_seen)
        if (!seen)
            return true;
    return false;
}

int PriorChoiceLines::Width() const
{
    return ToNumber(m_values[kScreenWidth]);
}

int PriorChoiceLines::Height() const
{
    return ToNumber(m_values[kScreenHeight]);
}

int PriorChoiceLines::BitDepth() const
{
    return ToNumber(m_values[kBitDepth]);
}
