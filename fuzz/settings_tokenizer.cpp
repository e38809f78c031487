#include "fuzz/FuzzCheck.h"
#include "settings/SettingsTokenizer.h"

#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <string>

namespace
{
// The reading rules once more, as a plain scan: a UTF-8 byte-order mark at the start is
// skipped, whitespace (zero bytes included) separates tokens, a line end ends any token, a quote
// that follows an even run of backslashes toggles quoting and a closing one ends the token, any
// other quote is dropped, and every other byte is kept.
std::list<std::string> ReferenceTokens(const std::string& text)
{
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r' || c == '\0'; };
    const auto isWhitespace = [&](char c) { return isLineEnd(c) || strchr(" \t\v\f", c); };
    std::list<std::string> tokens;
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (;;)
    {
        while (at < text.size() && isWhitespace(text[at]))
            ++at;
        if (at == text.size())
            return tokens;
        std::string token;
        bool quoted = false;
        for (; at < text.size() && !isLineEnd(text[at]); ++at)
        {
            const char c = text[at];
            if (c == '"')
            {
                size_t backslashes = 0;
                while (backslashes < at && text[at - 1 - backslashes] == '\\')
                    ++backslashes;
                if (backslashes % 2 == 1)
                    continue;
                quoted = !quoted;
                if (!quoted)
                {
                    ++at;
                    break;
                }
                continue;
            }
            if (!quoted && isWhitespace(c))
                break;
            token += c;
        }
        tokens.push_back(token);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly the bytes, with nothing after them, so that any read past the end is reported.
    const std::unique_ptr<char[]> text(new char[size]);
    memcpy(text.get(), data, size);

    std::list<std::string> tokens;
    Check(TokenizeSettingsText(text.get(), size, tokens), "a small text is read");
    size_t copied = 0;
    for (const std::string& token : tokens)
    {
        copied += token.size() + 1;
        Check(token.find_first_of(std::string("\n\r\0", 3)) == std::string::npos,
              "no token holds a line end");
    }
    Check(MeasureSettingsTokens(text.get(), size) == copied,
          "the measured size is the copied size");
    Check(tokens == ReferenceTokens(std::string(text.get(), size)),
          "the tokens follow the reading rules");
    return 0;
}
