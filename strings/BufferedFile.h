#pragma once

#include <windows.h>

#include <cstdint>

// A Win32 file opened for sequential reading through a 4096-byte read buffer from the
// process-wide buffer pool. The slot order of the virtual functions is fixed.
class CBufferedFile
{
public:
    CBufferedFile();
    CBufferedFile(const CBufferedFile&) = delete;
    CBufferedFile& operator=(const CBufferedFile&) = delete;

    // Opens `path` (narrow, handed to the file system unchanged) for reading, closing the
    // file held before. True when opened.
    virtual bool Open(const char* path);
    // Always true; `isOpen` tells whether a file is held.
    virtual bool IsOpen(bool& isOpen);
    // Delivers `count` bytes into `destination`. True when all of them were delivered; on
    // failure all `count` bytes of the destination are zero.
    virtual bool Read(void* destination, uint32_t count);
    // Discards the buffered bytes and moves to `offset` bytes from the start.
    virtual bool SeekTo(int64_t offset);
    virtual bool SeekToEnd();
    // The position of the next unread byte, which lags behind the system's file pointer by
    // the bytes read ahead into the buffer. `position` is untouched on failure.
    virtual bool GetPosition(uint64_t& position);
    virtual bool IsAtEnd(bool& atEnd);
    // `size` is untouched on failure.
    virtual bool GetSize(uint64_t& size);
    // True on success or when no file was open.
    virtual bool Close();
    virtual ~CBufferedFile();

protected:
    // Reads that need fewer unbuffered bytes than this go through the buffer.
    static constexpr uint32_t kBypassThreshold = 2048;

    // Takes `count` buffered bytes; an emptied buffer goes back to position and fill 0.
    void ConsumeBuffered(void* destination, uint32_t count);
    void DiscardBuffer() { m_nBufferPos = m_nBufferFill = 0; }
    bool ReadUnbuffered(void* destination, uint32_t count);

    HANDLE m_hFile;
    void* m_pBuffer;
    uint32_t m_nBufferPos;
    uint32_t m_nBufferFill;
};
