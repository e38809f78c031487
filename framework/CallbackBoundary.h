#pragma once

#include <windows.h>

// Win32 calls back into this code through C functions; a C++ exception must not unwind
// through them. Each callback runs its C++ work through CallGuarded.

// Tells the player in a box owned by `owner` (may be null) that an operation failed.
void ReportFailedOperation(HWND owner) noexcept;

// The result of `work`, or `failed` after reporting the failure when `work` throws.
template <typename Result, typename Work>
Result CallGuarded(HWND owner, Result failed, Work&& work) noexcept
{
    try
    {
        return work();
    }
    catch (...)
    {
        ReportFailedOperation(owner);
        return failed;
    }
}
