#pragma once

#include <string>

// One screen mode of a display: width, height and bit depth. Modes that differ only in refresh
// rate are the same resolution. The list text is made once, when the record is created.
class ResolutionInfo
{
public:
    ResolutionInfo(int width, int height, int bitDepth);

    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }
    int GetBitDepth() const { return m_bitDepth; }

    // "W x H x D" for a 4:3 mode, "* W x H x D" for any other shape.
    const std::wstring& GetLabel() const { return m_label; }

    // True when the width is the height times 4 divided by 3, the quotient truncated.
    static bool IsStandardShape(int width, int height);

private:
    int m_width;
    int m_height;
    int m_bitDepth;
    std::wstring m_label;
};
