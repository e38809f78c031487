#pragma once

#include <windows.h>

// Win32 calls back into this code through C functions; a C++ exception must not unwind
// through them. Each callback runs its C++ work through CallGuarded.

// The result of `work`, or `failed` when `work` throws, after a box owned by `owner` (may be
// null) told the player. Only the standard library throws here, when memory runs out; the
// text needs no lookup, which could fail the same way.
template <typename Result, typename Work>
Result CallGuarded(HWND owner, Result failed, Work&& work) noexcept
{
    try
    {
        return work();
    }
    catch (...)
    {
        MessageBoxW(owner, L"The operation could not be completed: not enough memory.", nullptr,
                    MB_OK);
        return failed;
    }
}
