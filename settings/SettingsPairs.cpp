#include "settings/SettingsPairs.h"

#include <iterator>
#include <utility>

bool TakeSettingsPair(std::list<std::string>& tokens, const std::string& key, std::string& value)
{
    for (auto at = tokens.begin(); at != tokens.end();)
    {
        const auto next = std::next(at);
        if (*at == key)
        {
            if (next == tokens.end())
            {
                tokens.erase(at);
                return false;
            }
            value = std::move(*next);
            tokens.erase(at, std::next(next));
            return true;
        }
        if (next == tokens.end())
            return false;
        at = std::next(next);
    }
    return false;
}

void DropKeysWithoutValues(std::list<std::string>& tokens, const std::vector<bool>& lineStarts)
{
    // Whether the token before is a key.
    bool afterKey = false;
    auto previous = tokens.end();
    auto at = tokens.begin();
    for (auto startsLine = lineStarts.begin(); at != tokens.end() && startsLine != lineStarts.end();
         ++startsLine)
    {
        const auto next = std::next(startsLine);
        const bool aloneOnItsLine = *startsLine && (next == lineStarts.end() || *next);
        const bool valueOnItsOwnLine = afterKey && aloneOnItsLine;
        if (*startsLine && afterKey && !valueOnItsOwnLine)
            tokens.erase(previous);
        afterKey = !valueOnItsOwnLine && (*startsLine || !afterKey);
        previous = at++;
    }
}
