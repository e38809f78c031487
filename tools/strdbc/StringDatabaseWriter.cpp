#include "tools/strdbc/StringDatabaseWriter.h"

#include "standins/lexora_runtime/StringDatabaseFormat.h"

#include <cstdint>

namespace
{
void AppendU16(std::string& out, uint32_t value)
{
    out.push_back(char(value & 0xFF));
    out.push_back(char(value >> 8 & 0xFF));
}

void AppendU32(std::string& out, uint32_t value)
{
    AppendU16(out, value & 0xFFFF);
    AppendU16(out, value >> 16);
}
} // namespace

bool EncodeStringDatabase(const std::vector<StringSourceEntry>& entries, std::string& database,
                          std::string& error)
{
    namespace Format = StringDatabaseFormat;
    std::string out(Format::kMagic, sizeof Format::kMagic);
    AppendU16(out, Format::kVersion);
    AppendU32(out, uint32_t(entries.size()));

    for (const StringSourceEntry& entry : entries)
    {
        if (entry.key.empty() || entry.key.size() > Format::kMaxKeyBytes)
        {
            error = "line " + std::to_string(entry.line) + ": key length out of range";
            return false;
        }
        // Checked per entry so that a huge text is refused before it is encoded.
        if (entry.text.size() > Format::kMaxDatabaseBytes / 2)
        {
            error = "line " + std::to_string(entry.line) + ": text too long";
            return false;
        }
        AppendU16(out, uint32_t(entry.key.size()));
        out += entry.key;
        AppendU32(out, uint32_t(entry.text.size()));
        for (char16_t unit : entry.text)
            AppendU16(out, unit);
        AppendU16(out, 0);
        if (out.size() > Format::kMaxDatabaseBytes)
        {
            error = "database larger than " + std::to_string(Format::kMaxDatabaseBytes) + " bytes";
            return false;
        }
    }
    database = std::move(out);
    return true;
}
