#include "fuzz/FuzzCheck.h"
#include "standins/lexora_runtime/StringDatabaseReader.h"
#include "tools/strdbc/StringDatabaseWriter.h"
#include "tools/strdbc/StringSource.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace
{
// A database held in memory, read the way the launcher's file stream reads a file.
class MemoryReadStream : public IReadStream
{
public:
    explicit MemoryReadStream(const std::string& bytes) : m_bytes(bytes) {}

    void Release() override {}
    bool Read(void* destination, uint32_t count) override
    {
        const size_t available = m_bytes.size() - m_position;
        const size_t taken = count < available ? count : available;
        memcpy(destination, m_bytes.data() + m_position, taken);
        memset(static_cast<char*>(destination) + taken, 0, count - taken);
        m_position += taken;
        m_failed = m_failed || taken < count;
        return m_failed;
    }
    bool ReadString(char*, uint32_t) override { return m_failed = true; }
    bool HasFailed() override { return m_failed; }
    bool IsReadable() override { return true; }
    bool Seek(int64_t) override { return m_failed = true; }
    uint64_t GetPosition() override { return m_position; }
    uint64_t GetSize() override { return m_bytes.size(); }

private:
    const std::string& m_bytes;
    size_t m_position = 0;
    bool m_failed = false;
};

bool Read(const std::string& bytes, StringTable& table)
{
    MemoryReadStream stream(bytes);
    return ReadStringDatabase(stream, table);
}

// A database that was accepted holds as many texts as its header announces, and no more.
void CheckConsistent(const std::string& bytes, const StringTable& table)
{
    uint32_t count = 0;
    for (int i = 3; i >= 0; --i)
        count = count << 8 | uint8_t(bytes[6 + i]);
    Check(table.Size() == count, "an accepted database holds the entries it announces");
    for (uint32_t id = 1; id <= count; ++id)
        Check(table.TextById(id) != nullptr, "every id of an accepted database has a text");
    Check(table.TextById(count + 1) == nullptr, "no text beyond the announced entries");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const StringSource source = ParseStringSource(provider.ConsumeRandomLengthString());
    std::string database;
    std::string error;
    if (!EncodeStringDatabase(source.entries, database, error))
        return 0;

    StringTable table;
    Check(Read(database, table), "a compiled database is accepted");
    Check(table.Size() == source.entries.size(), "every compiled entry is read");
    for (size_t i = 0; i < source.entries.size(); ++i)
    {
        const StringSourceEntry& entry = source.entries[i];
        Check(table.FindId(entry.key) == i + 1, "keys read back in order");
        const std::wstring expected(entry.text.begin(), entry.text.end());
        Check(table.TextById(uint32_t(i + 1)) == expected, "texts read back unchanged");
    }

    // Damaged copies: cut short or one byte altered. Each is refused or read consistently.
    std::string damaged = database;
    const size_t at = provider.ConsumeIntegralInRange<size_t>(0, database.size() - 1);
    if (provider.ConsumeBool())
        damaged.resize(at);
    else
        damaged[at] = char(damaged[at] ^ provider.ConsumeIntegralInRange<uint8_t>(1, 255));
    StringTable damagedTable;
    if (Read(damaged, damagedTable))
        CheckConsistent(damaged, damagedTable);
    return 0;
}
