#pragma once

#include <windows.h>

#include <string>

// The access key of a caption as the dialog manager matches it: the character after the first
// "&" that does not stand for itself ("&&"), in upper case; 0 when there is none.
inline wchar_t AccessKey(const std::wstring& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i)
    {
        if (caption[i] != L'&')
            continue;
        if (caption[i + 1] != L'&')
        {
            wchar_t key[] = {caption[i + 1], L'\0'};
            CharUpperW(key);
            return key[0];
        }
        ++i;
    }
    return 0;
}
