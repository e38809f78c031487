#include "settings/SettingsTokenizer.h"

#include <memory>
#include <new>

bool IsSettingsWhitespace(char byte)
{
    switch (byte)
    {
    case ' ':
    case '\t':
    case '\n':
    case '\v':
    case '\f':
    case '\r':
        return true;
    default:
        return false;
    }
}

const char* SkipSettingsWhitespace(const char* position)
{
    while (*position != '\0' && IsSettingsWhitespace(*position))
        ++position;
    return position;
}

const char* ReadSettingsToken(const char* position, char* out, size_t& length)
{
    length = 0;
    const auto store = [out, &length](char byte)
    {
        if (out != nullptr)
            out[length] = byte;
        ++length;
    };

    bool quoted = false;
    size_t backslashes = 0;
    for (;;)
    {
        const char byte = *position;
        if (byte == '\\')
        {
            ++backslashes;
            ++position;
            continue;
        }

        // Any other byte: the backslashes before it are kept, every one of them.
        const bool oddRun = backslashes % 2 == 1;
        for (; backslashes > 0; --backslashes)
            store('\\');

        if (byte == '\0')
            break;
        if (byte == '"')
        {
            ++position;
            if (oddRun)
                continue;
            quoted = !quoted;
            if (!quoted)
                break;
            continue;
        }
        if (!quoted && IsSettingsWhitespace(byte))
            break;
        store(byte);
        ++position;
    }

    if (out != nullptr)
        out[length] = '\0';
    return position;
}

size_t MeasureSettingsTokens(const char* text, size_t* count)
{
    size_t total = 0;
    size_t tokens = 0;
    for (const char* position = SkipSettingsWhitespace(text); *position != '\0';
         position = SkipSettingsWhitespace(position))
    {
        size_t length = 0;
        position = ReadSettingsToken(position, nullptr, length);
        total += length + 1;
        ++tokens;
    }
    if (count != nullptr)
        *count = tokens;
    return total;
}

bool TokenizeSettingsText(const char* text, std::list<std::string>& tokens,
                          std::vector<bool>* lineStarts)
{
    tokens.clear();
    if (lineStarts != nullptr)
        lineStarts->clear();
    size_t count = 0;
    const size_t total = MeasureSettingsTokens(text, &count);
    if (count > kMaxSettingsTokens)
        return false;
    if (total == 0)
        return true;

    const std::unique_ptr<char[]> scratch(new (std::nothrow) char[total]);
    if (!scratch)
        return false;
    // The list and its strings take memory token by token; running out of it midway makes the
    // text unreadable, as a scratch block that cannot be had does.
    try
    {
        char* cursor = scratch.get();
        for (const char* position = text;;)
        {
            const char* start = SkipSettingsWhitespace(position);
            if (*start == '\0')
                break;
            if (lineStarts != nullptr)
            {
                bool startsLine = tokens.empty();
                for (; position != start; ++position)
                    startsLine = startsLine || *position == '\n' || *position == '\r';
                lineStarts->push_back(startsLine);
            }
            size_t length = 0;
            position = ReadSettingsToken(start, cursor, length);
            tokens.emplace_back(cursor, length);
            cursor += length + 1;
        }
    }
    catch (const std::bad_alloc&)
    {
        tokens.clear();
        if (lineStarts != nullptr)
            lineStarts->clear();
        return false;
    }
    return true;
}
