#include "fuzz/FuzzCheck.h"
#include "settings/SettingsText.h"
#include "settings/SettingsTokenizer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <iterator>
#include <list>
#include <string>
#include <vector>

namespace
{
// The bytes a text-mode write puts on disk: each line feed becomes CR LF.
std::string OnDisk(const std::string& text)
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

template <typename Tokens> std::string WritePairs(const Tokens& tokens)
{
    std::string text;
    for (auto key = tokens.begin(); key != tokens.end(); std::advance(key, 2))
        AppendSettingsLine(text, *key, *std::next(key));
    return text;
}

bool EndsInOddBackslashRun(const std::string& token)
{
    size_t run = 0;
    while (run < token.size() && token[token.size() - 1 - run] == '\\')
        ++run;
    return run % 2 == 1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    std::vector<std::string> tokens;
    while (provider.remaining_bytes() > 0)
        tokens.push_back(provider.ConsumeRandomLengthString());
    if (tokens.size() % 2 == 1)
        tokens.pop_back();

    const std::string first = WritePairs(tokens);
    const std::list<std::string> reread = TokenizeSettingsText(OnDisk(first).c_str());
    Check(reread.size() == tokens.size(), "every written token reads back as one token");
    Check(WritePairs(reread) == first, "saving what was read gives the same text");

    auto back = reread.begin();
    for (const std::string& token : tokens)
    {
        const bool needsNoChange =
            token.find_first_of(std::string("\"\n\0", 3)) == std::string::npos &&
            !EndsInOddBackslashRun(token);
        Check(!needsNoChange || *back == token, "a token that needs no change reads back as is");
        ++back;
    }
    return 0;
}
