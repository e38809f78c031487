#include "strings/FileReadStream.h"

#include "strings/FileBufferPool.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class FileReadStreamTest : public testing::Test
{
protected:
    void Open(const std::string& content)
    {
        m_folder.WriteFile("data.bin", content);
        ASSERT_TRUE(m_stream.Open((m_folder / "data.bin").c_str()));
        ASSERT_FALSE(m_stream.HasFailed());
    }

    // Reads `count` bytes; `failed` is what Read returned.
    std::string ReadBytes(uint32_t count, bool& failed)
    {
        std::string bytes(count, '\x5A');
        failed = m_stream.Read(&bytes[0], count);
        return bytes;
    }

    // ReadString into a buffer of `capacity` bytes, with a guard byte behind it.
    std::string ReadString(uint32_t capacity, bool& result)
    {
        std::string buffer(capacity + 1, '\x5A');
        result = m_stream.ReadString(&buffer[0], capacity);
        EXPECT_EQ('\x5A', buffer[capacity]) << "written past the capacity";
        return buffer.substr(0, capacity);
    }

    // A stored string: the 16-bit little-endian count, then the characters.
    static std::string Stored(const std::string& characters)
    {
        const size_t n = characters.size();
        return std::string{char(n & 0xFF), char(n >> 8)} + characters;
    }

    TempFolder m_folder;
    CFileReadStream m_stream;
};
} // namespace

TEST_F(FileReadStreamTest, NeverOpenedStreamHasFailedAndDeliversZeros)
{
    EXPECT_TRUE(m_stream.HasFailed());
    EXPECT_TRUE(m_stream.IsReadable());
    bool failed = false;
    EXPECT_EQ(std::string(8, '\0'), ReadBytes(8, failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(m_stream.Seek(0));
    EXPECT_EQ(0u, m_stream.GetPosition());
    EXPECT_EQ(0u, m_stream.GetSize());

    EXPECT_FALSE(m_stream.Open((m_folder / "missing.bin").c_str()));
    EXPECT_TRUE(m_stream.HasFailed());
}

TEST_F(FileReadStreamTest, ZeroByteReadOnAGoodStreamIsNoFailureAndMovesNothing)
{
    Open("abc");
    bool failed = true;
    ReadBytes(0, failed);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(m_stream.HasFailed());
    EXPECT_EQ(0u, m_stream.GetPosition());
    EXPECT_EQ("abc", ReadBytes(3, failed));
}

TEST_F(FileReadStreamTest, ReadingPastTheEndFailsForGood)
{
    Open(PatternBytes(100));
    bool failed = true;
    EXPECT_EQ(PatternBytes(100), ReadBytes(100, failed));
    EXPECT_FALSE(failed);
    EXPECT_EQ(100u, m_stream.GetPosition());
    EXPECT_EQ(100u, m_stream.GetSize());

    EXPECT_EQ(std::string(1, '\0'), ReadBytes(1, failed));
    EXPECT_TRUE(failed);
    EXPECT_TRUE(m_stream.HasFailed());

    // A failed stream stays failed: no seek or read touches the file any more.
    EXPECT_TRUE(m_stream.Seek(0));
    EXPECT_EQ(100u, m_stream.GetPosition());
    EXPECT_EQ(std::string(4, '\0'), ReadBytes(4, failed));
    EXPECT_TRUE(failed);
    // Position and size queries keep answering.
    EXPECT_EQ(100u, m_stream.GetSize());
}

TEST_F(FileReadStreamTest, SeekMovesTheNextReadAndAFailedSeekFailsTheStream)
{
    // Longer than two read buffers, so that bytes remain behind the file pointer below.
    Open(PatternBytes(10000));
    bool failed = true;
    ReadBytes(10, failed);
    EXPECT_EQ(10u, m_stream.GetPosition());
    EXPECT_FALSE(m_stream.Seek(4500));
    EXPECT_EQ(PatternBytes(4502).substr(4500), ReadBytes(2, failed));
    EXPECT_EQ(4502u, m_stream.GetPosition());

    EXPECT_TRUE(m_stream.Seek(-1));
    EXPECT_TRUE(m_stream.HasFailed());
    // Failed in the middle of the file, where bytes could still be read, it reads none.
    EXPECT_TRUE(m_stream.Seek(0));
    EXPECT_EQ(std::string(2, '\0'), ReadBytes(2, failed));
    EXPECT_TRUE(failed);
}

TEST_F(FileReadStreamTest, ReadStringFitsTruncatesOrSkipsByCapacity)
{
    Open(Stored("") + Stored("abc") + Stored("abc") + Stored("abc") + Stored("abc") +
         Stored("abc") + Stored(std::string(258, 'q')) + "Z");
    bool result = true;

    EXPECT_EQ(std::string(1, '\0'), ReadString(1, result)) << "count 0";
    EXPECT_FALSE(result);
    EXPECT_EQ(std::string("abc\0", 4), ReadString(4, result)) << "exactly fits";
    EXPECT_FALSE(result);
    EXPECT_EQ(std::string("abc\0\x5A", 5), ReadString(5, result)) << "room to spare";
    EXPECT_EQ(std::string("ab\0", 3), ReadString(3, result)) << "one short";
    EXPECT_FALSE(result);
    EXPECT_EQ(std::string(1, '\0'), ReadString(1, result)) << "capacity 1";
    EXPECT_FALSE(result);
    EXPECT_EQ("", ReadString(0, result)) << "capacity 0 stores nothing";
    EXPECT_FALSE(result);
    // The count is little-endian: 258 = 0x0102.
    EXPECT_EQ(std::string(258, 'q') + '\0', ReadString(259, result));
    EXPECT_FALSE(result);

    EXPECT_EQ("Z", ReadBytes(1, result)) << "every stored character was consumed";
    EXPECT_FALSE(m_stream.HasFailed());
}

TEST_F(FileReadStreamTest, ReadStringOfACutOffStringFailsTheStream)
{
    Open(Stored("abcdef").substr(0, 5));
    bool result = false;
    // All six characters and the terminator read as zeros; the rest is untouched.
    EXPECT_EQ(std::string(7, '\0') + '\x5A', ReadString(8, result));
    EXPECT_TRUE(result);
    EXPECT_TRUE(m_stream.HasFailed());

    // With the count itself cut off the string reads as empty.
    CFileReadStream stream;
    m_folder.WriteFile("one.bin", "\x05");
    ASSERT_TRUE(stream.Open((m_folder / "one.bin").c_str()));
    char buffer[4] = {'x', 'x', 'x', 'x'};
    EXPECT_TRUE(stream.ReadString(buffer, sizeof buffer));
    EXPECT_EQ('\0', buffer[0]);
}

TEST(FileReadStreamRelease, ReleaseDestroysAHeapStreamAndReturnsItsBuffer)
{
    const FileBufferPoolCounters before = ReadFileBufferPoolCounters();
    IReadStream* stream = new CFileReadStream;
    EXPECT_EQ(before.freeBlocks - 1, ReadFileBufferPoolCounters().freeBlocks);
    stream->Release();
    EXPECT_EQ(before.freeBlocks, ReadFileBufferPoolCounters().freeBlocks);
}
