#include "strings/FileReadStream.h"

#include <cstring>

bool CFileReadStream::Open(const char* path)
{
    const bool opened = m_file.Open(path);
    m_bFailed = !opened;
    return opened;
}

void CFileReadStream::Release()
{
    delete this;
}

bool CFileReadStream::Read(void* destination, uint32_t count)
{
    if (m_bFailed || !m_file.Read(destination, count))
    {
        m_bFailed = true;
        memset(destination, 0, count);
    }
    return m_bFailed;
}

void CFileReadStream::SkipBytes(uint32_t count)
{
    char discarded;
    for (uint32_t i = 0; i < count; ++i)
        Read(&discarded, 1);
}

bool CFileReadStream::ReadString(char* destination, uint32_t capacity)
{
    unsigned char countBytes[2];
    Read(countBytes, sizeof countBytes);
    const uint32_t length = countBytes[0] | uint32_t(countBytes[1]) << 8;

    if (capacity == 0)
    {
        SkipBytes(length);
        return false;
    }
    const uint32_t stored = length < capacity - 1 ? length : capacity - 1;
    const bool failed = Read(destination, stored);
    destination[stored] = '\0';
    SkipBytes(length - stored);
    return failed;
}

bool CFileReadStream::Seek(int64_t offset)
{
    if (m_bFailed || !m_file.SeekTo(offset))
        m_bFailed = true;
    return m_bFailed;
}

uint64_t CFileReadStream::GetPosition()
{
    uint64_t position = 0;
    m_file.GetPosition(position);
    return position;
}

uint64_t CFileReadStream::GetSize()
{
    uint64_t size = 0;
    m_file.GetSize(size);
    return size;
}
