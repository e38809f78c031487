#include "settings/SettingsText.h"

#include <iterator>

namespace
{
void AppendQuotedToken(std::string& text, const std::string& token)
{
    text += '"';
    for (const char byte : token)
    {
        if (byte == '"')
            text += '\'';
        else if (byte == '\n' || byte == '\r' || byte == '\0')
            text += ' ';
        else
            text += byte;
    }
    // The opening quote bounds the run of backslashes that ends the token.
    const size_t backslashes = text.size() - text.find_last_not_of('\\') - 1;
    if (backslashes % 2 == 1)
        text += '\\';
    text += '"';
}
} // namespace

void AppendSettingsLine(std::string& text, const std::string& key, const std::string& value)
{
    AppendQuotedToken(text, key);
    text += ' ';
    AppendQuotedToken(text, value);
    text += '\n';
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
