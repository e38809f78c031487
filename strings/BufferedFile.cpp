#include "strings/BufferedFile.h"

#include "strings/FileBufferPool.h"

#include <cstring>

CBufferedFile::CBufferedFile()
    : m_hFile(INVALID_HANDLE_VALUE), m_pBuffer(AcquireFileBuffer()), m_nBufferPos(0),
      m_nBufferFill(0)
{
}

CBufferedFile::~CBufferedFile()
{
    if (m_pBuffer != nullptr)
        ReleaseFileBuffer(m_pBuffer);
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
}

bool CBufferedFile::Open(const char* path)
{
    Close();
    // Bytes read ahead from the previous file must not be delivered as this file's content.
    DiscardBuffer();
    m_hFile = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return m_hFile != INVALID_HANDLE_VALUE;
}

bool CBufferedFile::IsOpen(bool& isOpen)
{
    isOpen = m_hFile != INVALID_HANDLE_VALUE;
    return true;
}

void CBufferedFile::ConsumeBuffered(void* destination, uint32_t count)
{
    if (count == 0)
        return;
    memcpy(destination, static_cast<const char*>(m_pBuffer) + m_nBufferPos, count);
    m_nBufferPos += count;
    if (m_nBufferPos == m_nBufferFill)
        DiscardBuffer();
}

bool CBufferedFile::ReadUnbuffered(void* destination, uint32_t count)
{
    DWORD delivered = 0;
    return ReadFile(m_hFile, destination, count, &delivered, nullptr) && delivered == count;
}

bool CBufferedFile::Read(void* destination, uint32_t count)
{
    const uint32_t available = m_nBufferFill - m_nBufferPos;
    if (available >= count)
    {
        ConsumeBuffered(destination, count);
        return true;
    }

    char* const target = static_cast<char*>(destination);
    ConsumeBuffered(target, available);
    const uint32_t remaining = count - available;

    bool delivered = false;
    if (remaining >= kBypassThreshold)
    {
        delivered = ReadUnbuffered(target + available, remaining);
    }
    else if (m_pBuffer != nullptr)
    {
        DWORD filled = 0;
        const bool readOk = ReadFile(m_hFile, m_pBuffer, kFileBufferSize, &filled, nullptr);
        m_nBufferFill = readOk ? filled : 0;
        m_nBufferPos = 0;
        delivered = readOk && filled >= remaining;
        if (delivered)
            ConsumeBuffered(target + available, remaining);
    }

    if (!delivered)
        memset(destination, 0, count);
    return delivered;
}

bool CBufferedFile::SeekTo(int64_t offset)
{
    DiscardBuffer();
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    return SetFilePointerEx(m_hFile, distance, nullptr, FILE_BEGIN) != FALSE;
}

bool CBufferedFile::SeekToEnd()
{
    DiscardBuffer();
    LARGE_INTEGER distance;
    distance.QuadPart = 0;
    return SetFilePointerEx(m_hFile, distance, nullptr, FILE_END) != FALSE;
}

bool CBufferedFile::GetPosition(uint64_t& position)
{
    LARGE_INTEGER zero;
    zero.QuadPart = 0;
    LARGE_INTEGER pointer;
    if (!SetFilePointerEx(m_hFile, zero, &pointer, FILE_CURRENT))
        return false;
    position = uint64_t(pointer.QuadPart) - (m_nBufferFill - m_nBufferPos);
    return true;
}

bool CBufferedFile::IsAtEnd(bool& atEnd)
{
    uint64_t position = 0;
    uint64_t size = 0;
    if (!GetPosition(position) || !GetSize(size))
        return false;
    atEnd = position == size;
    return true;
}

bool CBufferedFile::GetSize(uint64_t& size)
{
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(m_hFile, &fileSize))
        return false;
    size = uint64_t(fileSize.QuadPart);
    return true;
}

bool CBufferedFile::Close()
{
    if (m_hFile == INVALID_HANDLE_VALUE)
        return true;
    const bool closed = CloseHandle(m_hFile) != FALSE;
    m_hFile = INVALID_HANDLE_VALUE;
    return closed;
}
