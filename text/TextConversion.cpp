#include "text/TextConversion.h"

#include <windows.h>

#include <cstring>
#include <new>

namespace
{
// WC_ERR_INVALID_CHARS, which the headers declare only for programs that require Vista.
const DWORD kInvalidCharactersFail = 0x80;
} // namespace

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

std::wstring AnsiToWide(const char* text, size_t maximumLength)
{
    const int length = static_cast<int>(strnlen(text, maximumLength));
    if (length == 0)
        return std::wstring();
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    if (wideLength <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, length, &wide[0], wideLength);
    return wide;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), length, &ansi[0], size, nullptr, nullptr);
    return ansi;
}

bool WideToAnsiExactly(const std::wstring& text, std::string& ansi)
{
    ansi.clear();
    if (text.empty())
        return true;
    const int length = static_cast<int>(text.size());
    // Where the ANSI code page is UTF-8 (an option of Windows 10) it holds every character, but
    // takes no default character: a half surrogate pair is refused as an invalid character.
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? kInvalidCharactersFail : WC_NO_BEST_FIT_CHARS;
    BOOL defaultUsed = FALSE;
    BOOL* const defaultUsedOut = utf8 ? nullptr : &defaultUsed;
    const int size = WideCharToMultiByte(codePage, flags, text.data(), length, nullptr, 0, nullptr,
                                         defaultUsedOut);
    if (size <= 0 || defaultUsed)
        return false;
    ansi.assign(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, text.data(), length, &ansi[0], size, nullptr, nullptr);
    return true;
}

std::string WideToUtf8(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int size = static_cast<int>(text.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return std::string();
    std::string converted(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), size, &converted[0], length, nullptr, nullptr);
    return converted;
}

std::wstring Utf8ToWide(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    if (length <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), size, &wide[0], length);
    return wide;
}
