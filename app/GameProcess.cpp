#include "app/GameProcess.h"

#include "framework/TextConversion.h"

#include "settings/BoundedString.h"
#include "settings/ProductMode.h"

#include <windows.h>

bool StartGame()
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Everything the player chose reaches the game through settings.cfg alone.
    wchar_t commandLine[128] = {};

    char executable[MAX_PATH] = {};
    BoundedCopy(executable, GetGameExecutableName(), sizeof executable);

    // A bare file name: the game is taken from the current directory, never from the path.
    const CAnsiToWide wideExecutable(executable);
    if (!CreateProcessW(wideExecutable.Text(), commandLine, nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, nullptr, &startup, &process))
        return false;

    ResumeThread(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return true;
}
