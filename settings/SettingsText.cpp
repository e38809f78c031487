#include "settings/SettingsText.h"

#include <iterator>

namespace
{
void AppendQuotedToken(std::string& text, const std::string& token)
{
    text += '"';
    for (size_t at = 0; at < token.size(); ++at)
    {
        const char byte = token[at];
        if (byte == '"')
            text += '\'';
        else if (byte == '\0')
            text += ' ';
        else if (byte != '\r' || token.compare(at + 1, 1, "\n") != 0)
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
