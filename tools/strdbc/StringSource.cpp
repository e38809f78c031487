#include "tools/strdbc/StringSource.h"

#include "standins/lexora_runtime/StringDatabaseFormat.h"

#include <algorithm>
#include <map>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool IsKeyCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '.';
}

// Decodes one UTF-8 sequence at `at`, advancing past it. False for a malformed, overlong or
// surrogate sequence and for values beyond U+10FFFF.
bool DecodeUtf8(const std::string& text, size_t& at, char32_t& value)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    size_t extra;
    char32_t smallest;
    if (lead < 0x80)
    {
        value = lead;
        ++at;
        return true;
    }
    if ((lead & 0xE0) == 0xC0)
    {
        extra = 1;
        smallest = 0x80;
        value = lead & 0x1F;
    }
    else if ((lead & 0xF0) == 0xE0)
    {
        extra = 2;
        smallest = 0x800;
        value = lead & 0x0F;
    }
    else if ((lead & 0xF8) == 0xF0)
    {
        extra = 3;
        smallest = 0x10000;
        value = lead & 0x07;
    }
    else
    {
        return false;
    }
    if (text.size() - at - 1 < extra)
        return false;
    for (size_t i = 1; i <= extra; ++i)
    {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        value = value << 6 | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    at += extra + 1;
    return true;
}

bool IsValidUtf8(const std::string& text)
{
    char32_t value;
    for (size_t at = 0; at < text.size();)
    {
        if (!DecodeUtf8(text, at, value))
            return false;
    }
    return true;
}

void AppendUtf16(std::u16string& text, char32_t value)
{
    if (value < 0x10000)
    {
        text.push_back(char16_t(value));
        return;
    }
    value -= 0x10000;
    text.push_back(char16_t(0xD800 + (value >> 10)));
    text.push_back(char16_t(0xDC00 + (value & 0x3FF)));
}

// Turns the escaped UTF-8 text of an entry into UTF-16. False, with `error` set, for a bad
// escape, invalid UTF-8 or a NUL character.
bool DecodeText(const std::string& source, std::u16string& text, std::string& error)
{
    for (size_t at = 0; at < source.size();)
    {
        char32_t value = 0;
        if (source[at] == '\\')
        {
            if (at + 1 == source.size())
            {
                error = "backslash at the end of the line (write \\\\ for a backslash)";
                return false;
            }
            const char escaped = source[at + 1];
            if (escaped == 'n')
                value = '\n';
            else if (escaped == 's')
                value = ' ';
            else if (escaped == '\\')
                value = '\\';
            else
            {
                // The whole character after the backslash, which may take several bytes.
                size_t end = at + 1;
                char32_t ignored;
                DecodeUtf8(source, end, ignored);
                error = "unknown escape " + source.substr(at, std::max(end, at + 2) - at) +
                        " (only \\n, \\s and \\\\ are known)";
                return false;
            }
            at += 2;
        }
        else if (!DecodeUtf8(source, at, value))
        {
            error = "invalid UTF-8";
            return false;
        }
        else if (value == 0)
        {
            error = "NUL character in the text";
            return false;
        }
        AppendUtf16(text, value);
    }
    return true;
}

class SourceParser
{
public:
    void ParseLine(std::string line, unsigned number)
    {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!IsValidUtf8(line))
            return Fail(number, "invalid UTF-8");

        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            return;

        const size_t equals = trimmed.find('=');
        if (equals == std::string::npos)
            return Fail(number, "missing '=' between key and text");

        StringSourceEntry entry;
        entry.line = number;
        entry.key = Trim(trimmed.substr(0, equals));
        if (entry.key.empty())
            return Fail(number, "empty key");
        for (char c : entry.key)
        {
            if (!IsKeyCharacter(c))
                return Fail(number, "key '" + entry.key +
                                        "' may hold only ASCII letters, digits, '_' and '.'");
        }
        if (entry.key.size() > StringDatabaseFormat::kMaxKeyBytes)
            return Fail(number, "key longer than 65535 characters");

        std::string error;
        if (!DecodeText(Trim(trimmed.substr(equals + 1)), entry.text, error))
            return Fail(number, error);

        const auto first = m_firstLines.emplace(entry.key, number);
        if (!first.second)
            return Fail(number, "duplicate key '" + entry.key + "' (first on line " +
                                    std::to_string(first.first->second) + ")");
        m_source.entries.push_back(std::move(entry));
    }

    StringSource Result() { return std::move(m_source); }

private:
    void Fail(unsigned line, const std::string& message)
    {
        m_source.errors.push_back({line, message});
    }

    StringSource m_source;
    std::map<std::string, unsigned> m_firstLines;
};
} // namespace

StringSource ParseStringSource(const std::string& content)
{
    static const char kByteOrderMark[] = "\xEF\xBB\xBF";
    size_t start = content.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;

    SourceParser parser;
    unsigned number = 1;
    while (start < content.size())
    {
        size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        parser.ParseLine(content.substr(start, end - start), number++);
        start = end + 1;
    }
    return parser.Result();
}
