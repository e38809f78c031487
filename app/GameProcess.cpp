#include "app/GameProcess.h"

#include "text/TextConversion.h"

#include "settings/BoundedString.h"
#include "settings/ProductMode.h"

bool StartGame()
{
    return StartGame(ResumeThread);
}

bool StartGame(ResumeThreadCall resume)
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

    // A game left suspended would hold its files and never show; it is ended instead.
    const bool resumed = resume(process.hThread) != static_cast<DWORD>(-1);
    if (!resumed)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return resumed;
}
