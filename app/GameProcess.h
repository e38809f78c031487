#pragma once

#include <windows.h>

// Starts the installed edition's game (DRAV.exe or DRAVMP.exe, by the product mode read at
// this moment) from the current directory with an empty command line, and lets it run on
// its own: no handle is kept and the launcher never waits for it. True when the process
// was created and its main thread resumed; a game that cannot be resumed is ended again.
bool StartGame();

// The call that lets the suspended game run; ResumeThread in the product.
using ResumeThreadCall = DWORD(WINAPI*)(HANDLE thread);

// The same with the game resumed through `resume`.
bool StartGame(ResumeThreadCall resume);
