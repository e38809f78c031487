#include "standins/lexora_runtime/StringDatabaseReader.h"

#include "standins/lexora_runtime/StringDatabaseFormat.h"

#include <cstring>
#include <vector>

namespace
{
// Walks the bytes of a database; every take checks the bytes that are left first.
class ByteCursor
{
public:
    ByteCursor(const unsigned char* data, size_t size) : m_data(data), m_left(size) {}

    size_t Left() const { return m_left; }

    bool TakeBytes(size_t count, const unsigned char*& bytes)
    {
        if (count > m_left)
            return false;
        bytes = m_data;
        m_data += count;
        m_left -= count;
        return true;
    }

    bool TakeU16(uint16_t& value)
    {
        const unsigned char* bytes;
        if (!TakeBytes(2, bytes))
            return false;
        value = uint16_t(bytes[0] | bytes[1] << 8);
        return true;
    }

    bool TakeU32(uint32_t& value)
    {
        const unsigned char* bytes;
        if (!TakeBytes(4, bytes))
            return false;
        value = uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                uint32_t(bytes[3]) << 24;
        return true;
    }

private:
    const unsigned char* m_data;
    size_t m_left;
};

bool ReadKey(ByteCursor& cursor, std::string& key)
{
    uint16_t length = 0;
    const unsigned char* bytes;
    if (!cursor.TakeU16(length) || length == 0 || !cursor.TakeBytes(length, bytes))
        return false;
    if (memchr(bytes, 0, length) != nullptr)
        return false;
    key.assign(reinterpret_cast<const char*>(bytes), length);
    return true;
}

bool ReadText(ByteCursor& cursor, std::wstring& text)
{
    uint32_t length = 0;
    if (!cursor.TakeU32(length))
        return false;
    // Checked against the bytes left before anything is allocated for the text.
    const uint64_t units = uint64_t(length) + 1;
    const unsigned char* bytes;
    if (units * 2 > cursor.Left() || !cursor.TakeBytes(size_t(units * 2), bytes))
        return false;

    text.resize(length);
    for (uint32_t i = 0; i < length; ++i)
    {
        const wchar_t unit = wchar_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
        if (unit == 0)
            return false;
        text[i] = unit;
    }
    return bytes[2 * length] == 0 && bytes[2 * length + 1] == 0;
}

bool ParseDatabase(const unsigned char* data, size_t size, StringTable& table)
{
    namespace Format = StringDatabaseFormat;
    ByteCursor cursor(data, size);
    const unsigned char* magic;
    uint16_t version = 0;
    uint32_t count = 0;
    if (!cursor.TakeBytes(sizeof Format::kMagic, magic) ||
        memcmp(magic, Format::kMagic, sizeof Format::kMagic) != 0 || !cursor.TakeU16(version) ||
        version != Format::kVersion || !cursor.TakeU32(count))
        return false;
    if (count > cursor.Left() / Format::kSmallestEntryBytes)
        return false;

    std::string key;
    std::wstring text;
    for (uint32_t i = 0; i < count; ++i)
    {
        if (!ReadKey(cursor, key) || !ReadText(cursor, text) || !table.Add(key, text))
            return false;
    }
    return cursor.Left() == 0;
}
} // namespace

bool ReadStringDatabase(IReadStream& stream, StringTable& table)
{
    const uint64_t size = stream.GetSize();
    const uint64_t position = stream.GetPosition();
    if (stream.HasFailed() || position > size ||
        size - position > StringDatabaseFormat::kMaxDatabaseBytes ||
        size - position < StringDatabaseFormat::kHeaderBytes)
        return false;

    std::vector<unsigned char> bytes(size_t(size - position));
    if (stream.Read(bytes.data(), uint32_t(bytes.size())))
        return false;
    return ParseDatabase(bytes.data(), bytes.size(), table);
}
