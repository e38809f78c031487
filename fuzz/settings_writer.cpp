#include "fuzz/FuzzCheck.h"
#include "settings/SettingsTokenizer.h"
#include "tests/settings/SettingsRoundTrip.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <list>
#include <string>
#include <vector>

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
        Check(!NeedsNoChange(token) || *back == token,
              "a token that needs no change reads back as is");
        ++back;
    }
    return 0;
}
