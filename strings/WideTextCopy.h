#pragma once

#include <cstddef>

// An owned copy of a wide text: held inline up to 127 characters, on the heap beyond.
class CWideTextCopy
{
public:
    // Copies `source`; a null source, or a heap copy that cannot be had, gives a null text.
    explicit CWideTextCopy(const wchar_t* source);
    ~CWideTextCopy();
    CWideTextCopy(const CWideTextCopy&) = delete;
    CWideTextCopy& operator=(const CWideTextCopy&) = delete;

    // The copied text, or null.
    const wchar_t* Text() const { return m_pText; }

private:
    static constexpr size_t kInlineLength = 128;

    wchar_t* m_pText;
    wchar_t m_inline[kInlineLength];
};
