#pragma once

#include <cstdint>

// The input stream the string manager library reads its database through. The slot order
// of the virtual functions is part of the contract with that library: never reorder them.
class IReadStream
{
public:
    // Destroys a stream that was created on the heap.
    virtual void Release() = 0;
    // Fills `destination` with `count` bytes. True when the stream has failed; a failed read
    // delivers zeros.
    virtual bool Read(void* destination, uint32_t count) = 0;
    // Reads a string stored as a 16-bit little-endian byte count followed by that many
    // characters, into `destination` of `capacity` bytes including the terminating NUL.
    virtual bool ReadString(char* destination, uint32_t capacity) = 0;
    virtual bool HasFailed() = 0;
    virtual bool IsReadable() = 0;
    // Moves to `offset` bytes from the start. True when the stream has failed.
    virtual bool Seek(int64_t offset) = 0;
    // Position of the next unread byte; 0 when it cannot be told.
    virtual uint64_t GetPosition() = 0;
    // Size of the underlying file; 0 when it cannot be told.
    virtual uint64_t GetSize() = 0;
    virtual ~IReadStream() {}
};
