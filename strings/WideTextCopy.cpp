#include "strings/WideTextCopy.h"

#include <cwchar>
#include <new>

CWideTextCopy::CWideTextCopy(const wchar_t* source) : m_pText(nullptr)
{
    if (source == nullptr)
        return;
    const size_t length = wcslen(source);
    if (length + 1 > kInlineLength)
        m_pText = new (std::nothrow) wchar_t[length + 1];
    else
        m_pText = m_inline;
    if (m_pText == nullptr)
        return;
    wmemcpy(m_pText, source, length);
    m_pText[length] = L'\0';
}

CWideTextCopy::~CWideTextCopy()
{
    if (m_pText != m_inline)
        delete[] m_pText;
}
