#pragma once

#include "settings/SettingsText.h"

#include <iterator>
#include <string>

// What the round-trip property test and the writer's fuzz target share: how a save reaches
// the disk, and which tokens the writer may not change.

// The bytes a text-mode write puts on disk: each line feed becomes CR LF.
inline std::string OnDisk(const std::string& text)
{
    std::string disk;
    for (const char byte : text)
    {
        if (byte == '\n')
            disk += '\r';
        disk += byte;
    }
    return disk;
}

// The settings lines of `tokens` taken as key, value, key, value; an odd last token is left
// out, as a save leaves it out.
template <typename Tokens> std::string WritePairs(const Tokens& tokens)
{
    std::string text;
    auto key = tokens.begin();
    for (size_t left = tokens.size(); left >= 2; left -= 2, std::advance(key, 2))
        AppendSettingsLine(text, *key, *std::next(key));
    return text;
}

// True for a token that reads back exactly as written: no quote or zero byte, no line feed
// without a carriage return before it, and no odd run of backslashes at its end.
inline bool NeedsNoChange(const std::string& token)
{
    const size_t lastOther = token.find_last_not_of('\\');
    const size_t trailing = token.size() - (lastOther == std::string::npos ? 0 : lastOther + 1);
    for (size_t lineFeed = token.find('\n'); lineFeed != std::string::npos;
         lineFeed = token.find('\n', lineFeed + 1))
    {
        if (lineFeed == 0 || token[lineFeed - 1] != '\r')
            return false;
    }
    return token.find_first_of(std::string("\"\0", 2)) == std::string::npos && trailing % 2 == 0;
}
