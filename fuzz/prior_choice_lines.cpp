#include "display/PriorChoiceLines.h"
#include "fuzz/FuzzCheck.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdint>
#include <string>

namespace
{
// The number a value stands for: optional whitespace and sign, then decimal digits; beyond
// the range of an int it saturates.
int ExpectedNumber(const std::string& value)
{
    size_t at = value.find_first_not_of(" \t\n\v\f\r");
    if (at == std::string::npos)
        return 0;
    const bool negative = value[at] == '-';
    if (value[at] == '-' || value[at] == '+')
        ++at;
    long long number = 0;
    for (; at < value.size() && isdigit(static_cast<unsigned char>(value[at])); ++at)
        number = std::min<long long>(number * 10 + (value[at] - '0'), 1LL << 40);
    number = negative ? -number : number;
    return int(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, number)));
}

bool StartsWithNoCase(const std::string& text, const std::string& name)
{
    if (text.size() < name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (tolower(static_cast<unsigned char>(text[i])) != tolower(name[i]))
            return false;
    return true;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    const std::string names[] = {"DeviceName", "ScreenWidth", "ScreenHeight", "BitDepth"};
    std::string values[] = {"", "640", "480", "16"};
    bool seen[4] = {};

    PriorChoiceLines prior;
    for (size_t start = 0; start < file.size() && prior.WantsMore();)
    {
        // A piece as fgets delivers it: up to and with the line feed, at most 511 bytes.
        const size_t feed = file.find('\n', start);
        const size_t end = std::min(feed == std::string::npos ? file.size() : feed + 1,
                                    start + PriorChoiceLines::kPieceSize - 1);
        const std::string piece = file.substr(start, end - start);
        start = end;
        prior.Take(piece.c_str());

        // The line as the rules read it: up to a zero byte, after at most one quote.
        std::string line = piece.substr(0, piece.find('\0'));
        if (!line.empty() && line[0] == '"')
            line.erase(0, 1);
        for (int key = 0; key < 4; ++key)
        {
            if (!StartsWithNoCase(line, names[key]))
                continue;
            std::string value = line.substr(names[key].size());
            value.erase(0, value.find_first_not_of("\" \t"));
            value = value.substr(0, 63);
            while (value.size() > 1 && (value.back() == '"' || value.back() == '\n'))
                value.pop_back();
            values[key] = value;
            seen[key] = true;
            break;
        }
        Check(prior.WantsMore() == !(seen[0] && seen[1] && seen[2] && seen[3]),
              "lines are wanted until all four keys were seen");
    }
    Check(prior.Width() == ExpectedNumber(values[1]), "the width follows the rules");
    Check(prior.Height() == ExpectedNumber(values[2]), "the height follows the rules");
    Check(prior.BitDepth() == ExpectedNumber(values[3]), "the bit depth follows the rules");
    return 0;
}
