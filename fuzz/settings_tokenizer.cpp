#include "fuzz/FuzzCheck.h"
#include "settings/SettingsTokenizer.h"

#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <string>

namespace
{
// The reading rules once more, as a plain scan: whitespace separates tokens, a quote that
// follows an even run of backslashes toggles quoting and a closing one ends the token, any
// other quote is dropped, and every other byte is kept.
std::list<std::string> ReferenceTokens(const std::string& text)
{
    const auto isWhitespace = [](char c) { return c != '\0' && strchr(" \t\n\v\f\r", c); };
    std::list<std::string> tokens;
    size_t at = 0;
    for (;;)
    {
        while (at < text.size() && isWhitespace(text[at]))
            ++at;
        if (at == text.size())
            return tokens;
        std::string token;
        bool quoted = false;
        for (; at < text.size(); ++at)
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
    // Exactly the bytes and their terminator, so that any read past the end is reported.
    const std::unique_ptr<char[]> text(new char[size + 1]);
    memcpy(text.get(), data, size);
    text[size] = '\0';

    std::list<std::string> tokens;
    Check(TokenizeSettingsText(text.get(), tokens), "a small text is read");
    size_t copied = 0;
    for (const std::string& token : tokens)
        copied += token.size() + 1;
    Check(MeasureSettingsTokens(text.get()) == copied, "the measured size is the copied size");
    Check(tokens == ReferenceTokens(text.get()), "the tokens follow the reading rules");
    return 0;
}
