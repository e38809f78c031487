#pragma once

#include <cstddef>

// A UTF-16 copy of a narrow text in the ANSI code page, terminating NUL included: held
// inline up to 127 characters, on the heap beyond (exactly the needed length).
class CAnsiToWide
{
public:
    // A null source, a text the code page cannot convert or a heap copy that cannot be had
    // gives an empty text.
    explicit CAnsiToWide(const char* source);
    ~CAnsiToWide();
    CAnsiToWide(const CAnsiToWide&) = delete;
    CAnsiToWide& operator=(const CAnsiToWide&) = delete;

    // The converted text; never null.
    const wchar_t* Text() const { return m_pText; }

private:
    static constexpr size_t kInlineLength = 128;

    wchar_t* m_pText;
    wchar_t m_inline[kInlineLength];
};
