#pragma once

#include <cstddef>
#include <string>

// The one place where text changes width: between narrow text in the system's ANSI code page
// (or UTF-8) and UTF-16. Text that cannot be converted gives an empty result.

// A UTF-16 copy of a NUL-terminated narrow text, terminating NUL included: held inline up to
// 127 characters, on the heap beyond (exactly the needed length).
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

// The first `maximumLength` bytes of `text` at most, up to its first NUL, as UTF-16. Reads
// fixed-size fields that need not hold a terminator.
std::wstring AnsiToWide(const char* text, size_t maximumLength);

// `text` in the ANSI code page; characters it lacks become the code page's default character.
std::string WideToAnsi(const std::wstring& text);

// `text` in the ANSI code page into `ansi`, character for character: false, with `ansi` empty,
// when the code page lacks one of them (or it is half a surrogate pair), instead of a default
// character or a look-alike taking its place.
bool WideToAnsiExactly(const std::wstring& text, std::string& ansi);

// UTF-16 text as UTF-8, and back.
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);
