#include "display/ResolutionInfo.h"

#include <cstdint>

namespace
{
std::wstring MakeLabel(int width, int height, int bitDepth)
{
    std::wstring label = ResolutionInfo::IsStandardShape(width, height) ? L"" : L"* ";
    label += std::to_wstring(width) + L" x " + std::to_wstring(height) + L" x " +
             std::to_wstring(bitDepth);
    return label;
}
} // namespace

ResolutionInfo::ResolutionInfo(int width, int height, int bitDepth)
    : m_width(width), m_height(height), m_bitDepth(bitDepth),
      m_label(MakeLabel(width, height, bitDepth))
{
}

bool ResolutionInfo::IsStandardShape(int width, int height)
{
    // The product is formed in 64 bits so that no height can overflow it; wherever 32-bit
    // arithmetic is defined the truncated quotient is the same.
    return width == static_cast<int64_t>(height) * 4 / 3;
}
