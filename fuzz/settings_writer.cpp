#include "fuzz/FuzzCheck.h"
#include "settings/SettingsPairs.h"
#include "settings/SettingsTokenizer.h"
#include "tests/settings/SettingsRoundTrip.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

namespace
{
// Takes the keys of `tokens`, read as pairs, out of a store of them from the last pair to the
// first. Each take must give the value of the first pair with that key that is still in the
// store, whatever values equal that key, and the store must end empty.
void CheckTakesFromTheBack(const std::list<std::string>& tokens)
{
    std::vector<std::pair<std::string, std::string>> pairs;
    for (auto key = tokens.begin(); key != tokens.end(); std::advance(key, 2))
        pairs.emplace_back(*key, *std::next(key));
    std::vector<bool> taken(pairs.size(), false);

    std::list<std::string> store = tokens;
    for (size_t last = pairs.size(); last-- > 0;)
    {
        size_t first = 0;
        while (taken[first] || pairs[first].first != pairs[last].first)
            ++first;
        taken[first] = true;
        std::string value;
        Check(TakeSettingsPair(store, pairs[last].first, value) && value == pairs[first].second,
              "a take gives the value of the first pair with that key");
    }
    Check(store.empty(), "taking every key empties the store");
}
// A line that another program wrote with a value of two words and no quotes, in front of the
// written pairs and a last one, costs its own last word and no pair after it.
void CheckMalformedLineHidesNothing(const std::string& written, const std::list<std::string>& pairs)
{
    std::list<std::string> read;
    std::vector<bool> lineStarts;
    Check(TokenizeSettingsText(OnDisk("\"ModName\" My Mod\n" + written + "\"Last\" \"1\"\n"), read,
                               &lineStarts),
          "the text is read");
    DropKeysWithoutValues(read, lineStarts);
    std::list<std::string> expected = {"ModName", "My"};
    expected.insert(expected.end(), pairs.begin(), pairs.end());
    expected.insert(expected.end(), {"Last", "1"});
    Check(read == expected, "a malformed line hides none of the pairs after it");
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
    std::list<std::string> reread;
    std::vector<bool> lineStarts;
    Check(TokenizeSettingsText(OnDisk(first), reread, &lineStarts), "the text is read");
    Check(reread.size() == tokens.size(), "every written token reads back as one token");
    const std::list<std::string> asWritten = reread;
    DropKeysWithoutValues(reread, lineStarts);
    Check(reread == asWritten, "every written line holds whole pairs");
    CheckMalformedLineHidesNothing(first, reread);
    Check(WritePairs(reread) == first, "saving what was read gives the same text");

    auto back = reread.begin();
    for (const std::string& token : tokens)
    {
        Check(!NeedsNoChange(token) || *back == token,
              "a token that needs no change reads back as is");
        ++back;
    }
    CheckTakesFromTheBack(reread);
    return 0;
}
