#pragma once

#include <windows.h>

#include <string>
#include <thread>

// Another program that holds a file for a moment, as a virus scanner does with a file that was
// just written: from construction it holds the file open with no sharing at all, and a thread
// of its own lets go of it `ms` milliseconds later.
class BriefFileHold
{
public:
    BriefFileHold(const std::string& path, DWORD ms);
    // Waits until the file was let go.
    ~BriefFileHold();
    BriefFileHold(const BriefFileHold&) = delete;
    BriefFileHold& operator=(const BriefFileHold&) = delete;

    // The file was held from construction on.
    bool Held() const { return m_held; }

private:
    bool m_held;
    std::thread m_letGo;
};
