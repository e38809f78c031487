#include "settings/SettingsText.h"

#include <iterator>

void AppendSettingsLine(std::string& text, const std::string& key, const std::string& value)
{
    text += '"';
    text += key;
    text += "\" \"";
    text += value;
    text += "\"\n";
}

std::string FormatRemainingPairs(const CSettingsFile& settings)
{
    std::string text;
    const auto& tokens = settings.Tokens();
    for (auto key = tokens.begin(); key != tokens.end();)
    {
        const auto value = std::next(key);
        if (value == tokens.end())
            break;
        AppendSettingsLine(text, *key, *value);
        key = std::next(value);
    }
    return text;
}
