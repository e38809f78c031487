#include "fuzz/FuzzCheck.h"
#include "tools/strdbc/StringSource.h"

#include <cstdint>
#include <string>

namespace
{
void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80)
        out += char(c);
    else if (c < 0x800)
        out += {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    else if (c < 0x10000)
        out += {char(0xE0 | c >> 12), char(0x80 | (c >> 6 & 0x3F)), char(0x80 | (c & 0x3F))};
    else
        out += {char(0xF0 | c >> 18), char(0x80 | (c >> 12 & 0x3F)), char(0x80 | (c >> 6 & 0x3F)),
                char(0x80 | (c & 0x3F))};
}

// The source line that stands for `text`: UTF-8 with line breaks, backslashes and the spaces
// at either end escaped.
std::string Escape(const std::u16string& text)
{
    std::string line;
    for (size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size())
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        if (c == '\n')
            line += "\\n";
        else if (c == '\\')
            line += "\\\\";
        else if (c == ' ' && (i == 0 || i + 1 == text.size()))
            line += "\\s";
        else
            AppendUtf8(line, c);
    }
    return line;
}

bool SameEntries(const StringSource& a, const StringSource& b)
{
    if (a.entries.size() != b.entries.size())
        return false;
    for (size_t i = 0; i < a.entries.size(); ++i)
        if (a.entries[i].key != b.entries[i].key || a.entries[i].text != b.entries[i].text)
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const StringSource parsed =
        ParseStringSource(std::string(reinterpret_cast<const char*>(data), size));
    std::string source;
    for (const StringSourceEntry& entry : parsed.entries)
        source += entry.key + " = " + Escape(entry.text) + "\r\n";

    const StringSource again = ParseStringSource(source);
    Check(again.errors.empty(), "re-escaped entries parse without errors");
    Check(SameEntries(parsed, again), "re-escaped entries parse to the same entries");
    return 0;
}
