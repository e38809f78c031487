#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Virus scanners, indexers and backup programs open a file for a moment, most often right
// after it was written. A step on the settings file that fails while such a program holds it
// is tried again after a short wait instead of failing at once.
//
// A failure counts as such a brief hold when the step ends with ERROR_SHARING_VIOLATION or
// ERROR_LOCK_VIOLATION, or with ERROR_ACCESS_DENIED while the file is neither read-only nor a
// folder: those two stay as they are and are refused at once. A step waits 10 ms before it is
// tried again, and twice as long before each further try. All waits of one load or one save
// come out of one budget of 1000 ms; once it is spent, a hold counts as a failure.
class CBriefHoldRetry
{
public:
    // Runs `step` until it succeeds, fails for another reason, or the budget is spent. The
    // step returns true on success and leaves the reason of a failure in GetLastError, where
    // it still is when Run returns false. `path` names the file the step works on.
    bool Run(const std::string& path, const std::function<bool()>& step);

private:
    DWORD m_waitedMs = 0;
};
