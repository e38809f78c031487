#include "framework/CallbackBoundary.h"

void ReportFailedOperation(HWND owner) noexcept
{
    // The only exceptions the code can meet come from the standard library running out of
    // memory; the text needs no lookup, which could fail the same way.
    MessageBoxW(owner, L"The operation could not be completed: not enough memory.", nullptr, MB_OK);
}
