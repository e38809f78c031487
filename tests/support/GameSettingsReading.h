#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

// settings.cfg as the game reads it, written out once more as a reference for tests: a zero
// byte ends the text, whitespace (the six ASCII bytes) separates tokens, a quote that follows
// an even run of backslashes toggles quoting and a closing one ends the token, any other quote
// is dropped, every other byte is kept, and line ends are whitespace like any other, inside
// quotes too. Keys and values alternate by position through the whole text, and a take finds
// the first token equal to the key wherever it stands. Plain C++, so that it runs anywhere.
struct GameSettingsReading
{
    std::vector<std::string> tokens;
    // The reading runs away, where the launcher reads the text otherwise: the text holds a zero
    // byte or begins with a UTF-8 byte-order mark, a quote that spans a line end closes only
    // where more of a token follows or never, or a token that begins a line stands in a value
    // position without being alone on its line.
    bool runsAway = false;
};

inline GameSettingsReading ReadSettingsAsTheGame(const std::string& text)
{
    const auto isWhitespace = [](char c) { return c != '\0' && strchr(" \t\n\v\f\r", c); };
    const auto isLineEnd = [](char c) { return c == '\n' || c == '\r'; };
    GameSettingsReading reading;
    reading.runsAway =
        text.find('\0') != std::string::npos || text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    const std::string bytes = text.substr(0, text.find('\0'));
    std::vector<bool> lineStarts;
    size_t at = 0;
    for (;;)
    {
        bool startsLine = reading.tokens.empty();
        for (; at < bytes.size() && isWhitespace(bytes[at]); ++at)
            startsLine = startsLine || isLineEnd(bytes[at]);
        if (at == bytes.size())
            break;
        std::string token;
        bool quoted = false;
        bool spansLines = false;
        for (; at < bytes.size(); ++at)
        {
            const char c = bytes[at];
            if (c == '"')
            {
                size_t backslashes = 0;
                while (backslashes < at && bytes[at - 1 - backslashes] == '\\')
                    ++backslashes;
                if (backslashes % 2 == 1)
                    continue;
                quoted = !quoted;
                if (quoted)
                    continue;
                ++at;
                if (spansLines && at < bytes.size() && !isWhitespace(bytes[at]))
                    reading.runsAway = true;
                break;
            }
            if (!quoted && isWhitespace(c))
                break;
            spansLines = spansLines || isLineEnd(c);
            token += c;
        }
        if (quoted && spansLines)
            reading.runsAway = true;
        reading.tokens.push_back(token);
        lineStarts.push_back(startsLine);
    }
    for (size_t index = 1; index < lineStarts.size(); index += 2)
    {
        const bool alone = index + 1 == lineStarts.size() || lineStarts[index + 1];
        if (lineStarts[index] && !alone)
            reading.runsAway = true;
    }
    return reading;
}

// The pairs of `tokens` by position; a last token without a value is left out.
inline std::vector<std::pair<std::string, std::string>>
PairsByPosition(const std::vector<std::string>& tokens)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (size_t key = 0; key + 1 < tokens.size(); key += 2)
        pairs.emplace_back(tokens[key], tokens[key + 1]);
    return pairs;
}

// What the game's take of `key` finds: the token after the first one equal to it; false when
// there is none.
inline bool GameTakes(const std::vector<std::string>& tokens, const std::string& key,
                      std::string& value)
{
    const auto found = std::find(tokens.begin(), tokens.end(), key);
    if (found == tokens.end() || found + 1 == tokens.end())
        return false;
    value = *(found + 1);
    return true;
}
