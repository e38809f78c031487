#pragma once

#include <cstddef>

// The resolution stored in a settings file, read with a simple line scanner of its own rather
// than the settings tokenizer: only the start of each line is looked at. This part holds no
// file I/O and no Windows calls, so that it can be checked anywhere.
//
// A line names a key when it starts with "DeviceName", "ScreenWidth", "ScreenHeight" or
// "BitDepth" in any case, after at most one double quote. The value is the rest of the line
// without the quotes and blanks before it and the quotes and line feeds after it (but never
// its first character), cut to 63 characters. A later line for the same key replaces the
// value; once all four keys were seen, no further line counts. The device name is read past,
// not used. Keys never seen keep 640, 480 and 16.
class PriorChoiceLines
{
public:
    // Lines arrive as fgets delivers them into a buffer of this size: a line longer than
    // 511 bytes comes in pieces, and each piece is looked at like a line of its own.
    static constexpr int kPieceSize = 512;

    // Takes one zero-terminated line or piece.
    void Take(const char* line);
    // True until all four keys were seen; the reader stops asking for lines then.
    bool WantsMore() const;

    // The number at the start of each value, like atoi, but a number beyond the range of an
    // int is clamped, so that it matches no resolution on any platform.
    int Width() const;
    int Height() const;
    int BitDepth() const;

private:
    static constexpr size_t kValueSize = 64;
    enum Key
    {
        kDeviceName,
        kScreenWidth,
        kScreenHeight,
        kBitDepth,
        kKeyCount
    };

    char m_values[kKeyCount][kValueSize] = {"", "640", "480", "16"};
    bool m_seen[kKeyCount] = {};
};
