#pragma once

#include "strings/BufferedFile.h"
#include "strings/ReadStream.h"

#include <cstdint>

// The stream handed to the string manager: a buffered file behind a sticky failure flag.
// The stream is failed from construction until a successful Open, and for good after the
// first failed Read or Seek; a failed stream delivers zeros without touching the file.
class CFileReadStream : public IReadStream
{
public:
    CFileReadStream() = default;
    CFileReadStream(const CFileReadStream&) = delete;
    CFileReadStream& operator=(const CFileReadStream&) = delete;

    // Opens `path` for reading; the stream is failed exactly when this returns false.
    bool Open(const char* path);

    // Only for a stream created with new.
    void Release() override;
    bool Read(void* destination, uint32_t count) override;
    // True when the stream has failed, except that a capacity of 0 stores nothing, skips
    // the stored characters and returns false. Characters beyond the capacity are skipped,
    // so the next read starts after the stored string.
    bool ReadString(char* destination, uint32_t capacity) override;
    bool HasFailed() override { return m_bFailed; }
    bool IsReadable() override { return true; }
    bool Seek(int64_t offset) override;
    uint64_t GetPosition() override;
    uint64_t GetSize() override;

private:
    void SkipBytes(uint32_t count);

    CBufferedFile m_file;
    bool m_bFailed = true;
};
