#include "tests/support/BriefFileHold.h"

BriefFileHold::BriefFileHold(const std::string& path, DWORD ms)
{
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    m_held = file != INVALID_HANDLE_VALUE;
    m_letGo = std::thread(
        [file, ms]
        {
            // How long the other program keeps the file: its own behaviour, not a wait of
            // the test.
            Sleep(ms);
            if (file != INVALID_HANDLE_VALUE)
                CloseHandle(file);
        });
}

BriefFileHold::~BriefFileHold()
{
    m_letGo.join();
}
