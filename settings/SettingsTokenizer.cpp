#include "settings/SettingsTokenizer.h"

#include <cstring>
#include <memory>
#include <new>

namespace
{
const char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";
const size_t kUtf8ByteOrderMarkSize = sizeof kUtf8ByteOrderMark - 1;

// Where the text's tokens begin: after a UTF-8 byte-order mark, when it has one.
const char* TextStart(const char* text, size_t size)
{
    const bool marked = size >= kUtf8ByteOrderMarkSize &&
                        memcmp(text, kUtf8ByteOrderMark, kUtf8ByteOrderMarkSize) == 0;
    return marked ? text + kUtf8ByteOrderMarkSize : text;
}

// Whether the game's reading closes the quote that is open at `position`, a line end, soundly:
// a quote after an even run of backslashes comes before any zero byte and the end of the text,
// and whitespace or the end of the text follows it.
bool ClosesOnALaterLine(const char* position, const char* end)
{
    size_t backslashes = 0;
    for (; position != end && *position != '\0'; ++position)
    {
        if (*position == '\\')
        {
            ++backslashes;
            continue;
        }
        const bool evenRun = backslashes % 2 == 0;
        backslashes = 0;
        if (*position == '"' && evenRun)
            return position + 1 == end || IsSettingsWhitespace(position[1]);
    }
    return false;
}
} // namespace

bool IsSettingsWhitespace(char byte)
{
    switch (byte)
    {
    case ' ':
    case '\t':
    case '\v':
    case '\f':
        return true;
    default:
        return IsSettingsLineEnd(byte);
    }
}

bool IsSettingsLineEnd(char byte)
{
    return byte == '\n' || byte == '\r' || byte == '\0';
}

const char* SkipSettingsWhitespace(const char* position, const char* end)
{
    while (position != end && IsSettingsWhitespace(*position))
        ++position;
    return position;
}

const char* ReadSettingsToken(const char* position, const char* end, char* out, size_t& length)
{
    length = 0;
    const auto store = [out, &length](char byte)
    {
        if (out != nullptr)
            out[length] = byte;
        ++length;
    };

    bool quoted = false;
    // The quote is open past the end of its line and closes soundly there (ClosesOnALaterLine).
    bool spansLines = false;
    size_t backslashes = 0;
    for (;; ++position)
    {
        if (position != end && *position == '\\')
        {
            ++backslashes;
            continue;
        }

        // Any other byte, or the end: the backslashes before it are kept, every one of them.
        const bool oddRun = backslashes % 2 == 1;
        for (; backslashes > 0; --backslashes)
            store('\\');

        if (position == end)
            break;
        const char byte = *position;
        if (IsSettingsLineEnd(byte))
        {
            spansLines = spansLines || (quoted && ClosesOnALaterLine(position, end));
            if (!spansLines)
                break;
            store(byte);
            continue;
        }
        if (byte == '"')
        {
            if (oddRun)
                continue;
            quoted = !quoted;
            if (quoted)
                continue;
            ++position;
            break;
        }
        if (!quoted && IsSettingsWhitespace(byte))
            break;
        store(byte);
    }

    if (out != nullptr)
        out[length] = '\0';
    return position;
}

size_t MeasureSettingsTokens(const char* text, size_t size, size_t* count)
{
    const char* const end = text + size;
    size_t total = 0;
    size_t tokens = 0;
    for (const char* position = SkipSettingsWhitespace(TextStart(text, size), end); position != end;
         position = SkipSettingsWhitespace(position, end))
    {
        size_t length = 0;
        position = ReadSettingsToken(position, end, nullptr, length);
        total += length + 1;
        ++tokens;
    }
    if (count != nullptr)
        *count = tokens;
    return total;
}

bool TokenizeSettingsText(const char* text, size_t size, std::list<std::string>& tokens,
                          std::vector<bool>* lineStarts)
{
    tokens.clear();
    if (lineStarts != nullptr)
        lineStarts->clear();
    size_t count = 0;
    const size_t total = MeasureSettingsTokens(text, size, &count);
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
        const char* const end = text + size;
        char* cursor = scratch.get();
        for (const char* position = TextStart(text, size);;)
        {
            const char* start = SkipSettingsWhitespace(position, end);
            if (start == end)
                break;
            if (lineStarts != nullptr)
            {
                bool startsLine = tokens.empty();
                for (; position != start; ++position)
                    startsLine = startsLine || IsSettingsLineEnd(*position);
                lineStarts->push_back(startsLine);
            }
            size_t length = 0;
            position = ReadSettingsToken(start, end, cursor, length);
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
