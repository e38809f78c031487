#include "settings/save/BriefHoldRetry.h"

#include <algorithm>

namespace
{
const DWORD kBudgetMs = 1000;
const DWORD kFirstWaitMs = 10;

bool IsBriefHold(DWORD error, const std::string& path)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return true;
    if (error != ERROR_ACCESS_DENIED)
        return false;
    // A file that is being deleted, or that a scanner has just taken, may deny access for a
    // moment; a read-only file or a folder does so for good.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ||
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}
} // namespace

bool CBriefHoldRetry::Run(const std::string& path, const std::function<bool()>& step)
{
    for (DWORD wait = kFirstWaitMs;; wait *= 2)
    {
        if (step())
            return true;
        const DWORD error = GetLastError();
        const bool retry = m_waitedMs < kBudgetMs && IsBriefHold(error, path);
        if (!retry)
        {
            SetLastError(error);
            return false;
        }
        const DWORD slept = std::min(wait, kBudgetMs - m_waitedMs);
        Sleep(slept);
        m_waitedMs += slept;
    }
}
