#include "strings/BufferedFile.h"

#include "strings/FileBufferPool.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// Shows the buffer and the system's file pointer, which the interface keeps hidden.
class CInspectedFile : public CBufferedFile
{
public:
    uint32_t BufferPos() const { return m_nBufferPos; }
    uint32_t BufferFill() const { return m_nBufferFill; }

    uint64_t SystemFilePointer() const
    {
        LARGE_INTEGER zero;
        zero.QuadPart = 0;
        LARGE_INTEGER pointer;
        pointer.QuadPart = -1;
        SetFilePointerEx(m_hFile, zero, &pointer, FILE_CURRENT);
        return uint64_t(pointer.QuadPart);
    }

    // As if the pool had had no block to give at construction.
    void GiveBufferBack()
    {
        ReleaseFileBuffer(m_pBuffer);
        m_pBuffer = nullptr;
    }
};

class BufferedFileTest : public testing::Test
{
protected:
    // Writes `size` pattern bytes and opens them in m_file.
    void OpenPattern(size_t size)
    {
        m_folder.WriteFile("data.bin", PatternBytes(size));
        ASSERT_TRUE(m_file.Open(Path().c_str()));
    }

    std::string Path() const { return m_folder / "data.bin"; }

    // Reads `count` bytes; `ok` tells whether Read succeeded.
    std::string ReadBytes(uint32_t count, bool& ok)
    {
        std::string bytes(count, '\x5A');
        ok = m_file.Read(&bytes[0], count);
        return bytes;
    }

    TempFolder m_folder;
    CInspectedFile m_file;
};
} // namespace

TEST_F(BufferedFileTest, SmallReadFillsTheBufferAheadButPositionCountsOnlyDelivered)
{
    OpenPattern(10000);
    bool ok = false;
    EXPECT_EQ(PatternBytes(10), ReadBytes(10, ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(4096u, m_file.SystemFilePointer());
    uint64_t position = 0;
    EXPECT_TRUE(m_file.GetPosition(position));
    EXPECT_EQ(10u, position);
}

TEST_F(BufferedFileTest, ReadOf2047RefillsTheBufferWhile2048GoesStraightToTheFile)
{
    OpenPattern(10000);
    bool ok = false;
    EXPECT_EQ(PatternBytes(2047), ReadBytes(2047, ok));
    EXPECT_TRUE(ok);
    EXPECT_EQ(4096u, m_file.SystemFilePointer());
    EXPECT_EQ(4096u - 2047u, m_file.BufferFill() - m_file.BufferPos());

    CInspectedFile other;
    ASSERT_TRUE(other.Open(Path().c_str()));
    std::string bytes(2048, '\0');
    EXPECT_TRUE(other.Read(&bytes[0], 2048));
    EXPECT_EQ(PatternBytes(2048), bytes);
    EXPECT_EQ(2048u, other.SystemFilePointer());
    EXPECT_EQ(0u, other.BufferFill());
}

TEST_F(BufferedFileTest, ReadSpanningBufferAndFileJoinsBothParts)
{
    OpenPattern(20000);
    bool ok = false;
    ReadBytes(10, ok);
    // 4086 buffered bytes and 2048 more from the file directly.
    const std::string bytes = ReadBytes(4086 + 2048, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(PatternBytes(6144).substr(10), bytes);
    EXPECT_EQ(6144u, m_file.SystemFilePointer());
    EXPECT_EQ(0u, m_file.BufferPos());
    EXPECT_EQ(0u, m_file.BufferFill());

    ReadBytes(100, ok);
    ReadBytes(3992, ok);
    ASSERT_EQ(4u, m_file.BufferFill() - m_file.BufferPos());
    // The 4 buffered bytes and 96 more through a refill.
    const std::string refilled = ReadBytes(100, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(PatternBytes(10336).substr(10236), refilled);
    EXPECT_EQ(6144u + 2 * 4096u, m_file.SystemFilePointer());
}

TEST_F(BufferedFileTest, EmptiedBufferGoesBackToZeroPositionAndFill)
{
    OpenPattern(5000);
    bool ok = false;
    ReadBytes(1, ok);
    EXPECT_EQ(1u, m_file.BufferPos());
    EXPECT_EQ(4096u, m_file.BufferFill());
    ReadBytes(4095, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(0u, m_file.BufferPos());
    EXPECT_EQ(0u, m_file.BufferFill());
}

TEST_F(BufferedFileTest, ReadingUpToTheEndSucceedsAndOneByteMoreFailsZeroFilled)
{
    OpenPattern(3000);
    bool ok = false;
    EXPECT_EQ(PatternBytes(3000), ReadBytes(3000, ok));
    EXPECT_TRUE(ok);
    bool atEnd = false;
    EXPECT_TRUE(m_file.IsAtEnd(atEnd));
    EXPECT_TRUE(atEnd);

    EXPECT_EQ(std::string(1, '\0'), ReadBytes(1, ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::string(2048, '\0'), ReadBytes(2048, ok));
    EXPECT_FALSE(ok);
}

TEST_F(BufferedFileTest, ShortRefillZeroFillsTheWholeDestinationIncludingBufferedBytes)
{
    OpenPattern(3000);
    bool ok = false;
    ReadBytes(2000, ok);
    EXPECT_EQ(std::string(1500, '\0'), ReadBytes(1500, ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(0u, m_file.BufferFill());
}

TEST_F(BufferedFileTest, SeekToDiscardsBufferedBytes)
{
    OpenPattern(10000);
    bool ok = false;
    ReadBytes(10, ok);
    EXPECT_TRUE(m_file.SeekTo(5000));
    EXPECT_EQ(0u, m_file.BufferFill());
    EXPECT_EQ(PatternBytes(5004).substr(5000), ReadBytes(4, ok));
    EXPECT_TRUE(m_file.SeekTo(3));
    EXPECT_EQ(PatternBytes(7).substr(3), ReadBytes(4, ok));
    uint64_t position = 0;
    EXPECT_TRUE(m_file.GetPosition(position));
    EXPECT_EQ(7u, position);

    EXPECT_TRUE(m_file.SeekToEnd());
    bool atEnd = false;
    EXPECT_TRUE(m_file.IsAtEnd(atEnd));
    EXPECT_TRUE(atEnd);
    EXPECT_FALSE(m_file.SeekTo(-1));
}

TEST_F(BufferedFileTest, OpeningAnotherFileDropsBytesReadAheadFromTheFirst)
{
    m_folder.WriteFile("first.txt", "AAAAAAAA");
    m_folder.WriteFile("second.txt", "BBBBBBBB");
    ASSERT_TRUE(m_file.Open((m_folder / "first.txt").c_str()));
    bool ok = false;
    EXPECT_EQ("A", ReadBytes(1, ok));
    ASSERT_TRUE(m_file.Open((m_folder / "second.txt").c_str()));
    EXPECT_EQ("BB", ReadBytes(2, ok));
    EXPECT_TRUE(ok);
}

TEST_F(BufferedFileTest, ClosedFileAnswersFromItsState)
{
    bool isOpen = true;
    EXPECT_TRUE(m_file.IsOpen(isOpen));
    EXPECT_FALSE(isOpen);
    EXPECT_TRUE(m_file.Close());
    uint64_t value = 77;
    EXPECT_FALSE(m_file.GetPosition(value));
    EXPECT_FALSE(m_file.GetSize(value));
    EXPECT_EQ(77u, value);
    bool atEnd = false;
    EXPECT_FALSE(m_file.IsAtEnd(atEnd));
    EXPECT_FALSE(m_file.Open((m_folder / "missing.bin").c_str()));

    OpenPattern(123);
    EXPECT_TRUE(m_file.IsOpen(isOpen));
    EXPECT_TRUE(isOpen);
    EXPECT_TRUE(m_file.GetSize(value));
    EXPECT_EQ(123u, value);
    EXPECT_TRUE(m_file.Close());
    EXPECT_TRUE(m_file.IsOpen(isOpen));
    EXPECT_FALSE(isOpen);
}

TEST_F(BufferedFileTest, WithoutABufferOnlyReadsBypassingItSucceed)
{
    const FileBufferPoolCounters before = ReadFileBufferPoolCounters();
    {
        CInspectedFile file;
        file.GiveBufferBack();
        m_folder.WriteFile("data.bin", PatternBytes(5000));
        ASSERT_TRUE(file.Open(Path().c_str()));

        std::string small(10, 'x');
        EXPECT_FALSE(file.Read(&small[0], 10));
        EXPECT_EQ(std::string(10, '\0'), small);
        std::string large(2048, 'x');
        EXPECT_TRUE(file.Read(&large[0], 2048));
        EXPECT_EQ(PatternBytes(2048), large);
    }
    EXPECT_EQ(before.freeBlocks, ReadFileBufferPoolCounters().freeBlocks);
}
