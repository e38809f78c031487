#include "strings/AnsiToWide.h"

#include <windows.h>

#include <new>

CAnsiToWide::CAnsiToWide(const char* source) : m_pText(m_inline)
{
    m_inline[0] = L'\0';
    if (source == nullptr)
        return;
    // The length includes the terminating NUL, so the result is terminated too.
    const int length = MultiByteToWideChar(CP_ACP, 0, source, -1, nullptr, 0);
    if (length <= 0)
        return;
    if (static_cast<size_t>(length) > kInlineLength)
    {
        wchar_t* heap = new (std::nothrow) wchar_t[length];
        if (heap == nullptr)
            return;
        m_pText = heap;
    }
    if (MultiByteToWideChar(CP_ACP, 0, source, -1, m_pText, length) != length)
        m_pText[0] = L'\0';
}

CAnsiToWide::~CAnsiToWide()
{
    if (m_pText != m_inline)
        delete[] m_pText;
}
