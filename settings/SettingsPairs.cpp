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
    bool keyPosition = false;
    auto previous = tokens.end();
    auto startsLine = lineStarts.begin();
    for (auto at = tokens.begin(); at != tokens.end() && startsLine != lineStarts.end();
         ++startsLine)
    {
        if (*startsLine && keyPosition)
            tokens.erase(previous);
        keyPosition = *startsLine || !keyPosition;
        previous = at++;
    }
}
