#include "tools/driver/WaitUntil.h"

namespace
{
const DWORD kPollMs = 20;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    // Unsigned subtraction keeps the elapsed time right across the tick count's wrap.
    const DWORD start = GetTickCount();
    while (!condition())
    {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(kPollMs);
    }
    return true;
}
