#pragma once

// Starts the installed edition's game (DRAV.exe or DRAVMP.exe, by the product mode read at
// this moment) from the current directory with an empty command line, and lets it run on
// its own: no handle is kept and the launcher never waits for it. True when the process
// was created.
bool StartGame();
