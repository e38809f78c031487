#include "settings/SettingsTokenizer.h"
#include "tests/settings/SettingsRoundTrip.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace
{
// Short tokens drawn mostly from the bytes that quoting, escaping and text mode care about.
std::vector<std::string> RandomTokens(std::mt19937& random)
{
    static const char kBytes[] = "\"\\\r\n \t\0a\xE9";
    std::uniform_int_distribution<size_t> count(0, 8), length(0, 6), byte(0, sizeof kBytes - 2);
    std::vector<std::string> tokens(count(random) * 2);
    for (std::string& token : tokens)
        for (size_t n = length(random); n > 0; --n)
            token += kBytes[byte(random)];
    return tokens;
}
} // namespace

TEST(SettingsLineRoundTrip, AnyTokensReadBackAsTheSamePairsAndSaveToTheSameBytes)
{
    std::mt19937 random(12);
    for (int round = 0; round < 3000; ++round)
    {
        const std::vector<std::string> tokens = RandomTokens(random);
        const std::string first = WritePairs(tokens);
        std::list<std::string> read;
        ASSERT_TRUE(TokenizeSettingsText(OnDisk(first), read));
        const std::vector<std::string> reread(read.begin(), read.end());

        ASSERT_EQ(tokens.size(), reread.size()) << first;
        ASSERT_EQ(first, WritePairs(reread));
        for (size_t i = 0; i < tokens.size(); ++i)
            EXPECT_TRUE(!NeedsNoChange(tokens[i]) || tokens[i] == reread[i]) << first;
    }
}
