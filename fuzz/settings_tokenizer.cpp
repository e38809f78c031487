#include "fuzz/FuzzCheck.h"
#include "settings/SettingsPairs.h"
#include "settings/SettingsTokenizer.h"
#include "tests/support/GameSettingsReading.h"

#include <cstdint>
#include <cstring>
#include <list>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Exactly the bytes, with nothing after them, so that any read past the end is reported.
    const std::unique_ptr<char[]> text(new char[size]);
    memcpy(text.get(), data, size);

    std::list<std::string> tokens;
    std::vector<bool> lineStarts;
    Check(TokenizeSettingsText(text.get(), size, tokens, &lineStarts), "a small text is read");
    size_t copied = 0;
    for (const std::string& token : tokens)
        copied += token.size() + 1;
    Check(MeasureSettingsTokens(text.get(), size) == copied,
          "the measured size is the copied size");

    // Wherever the game's reading does not run away, the launcher reads the same pairs.
    const GameSettingsReading game = ReadSettingsAsTheGame(std::string(text.get(), size));
    DropKeysWithoutValues(tokens, lineStarts);
    const std::vector<std::string> pairs(tokens.begin(), tokens.end());
    Check(game.runsAway || PairsByPosition(pairs) == PairsByPosition(game.tokens),
          "the launcher reads the pairs the game reads");
    return 0;
}
