#pragma once

#include "settings/SettingsFile.h"

#include <string>

// The stand-in game's report of what it received, as UTF-8 text with one "name: value" line
// per entry, each ending in a line feed, in this order:
//
//   game: <own executable file name>
//   edition: retail | free multiplayer
//   edition folder: DRAV | DRAVFree
//   executable path: <full path of the own executable>
//   command line: <the command line exactly as received>
//   arguments: <what follows the program name; empty when started by the launcher>
//   working folder: <current directory at start>
//   settings path: <settings folder>settings.cfg | (no settings folder)
//   settings file: found | not found
//   <key>: <value> | (not set)   for RestoreDefaults, DisableSound, MusicEnable,
//                                DisableJoystick, DisableMovies, DisableSoundFilters,
//                                DisableHardwareSound, DeviceName, Renderer, ScreenWidth,
//                                ScreenHeight, BitDepth, in this order
//   other <key>: <value>         every pair left in the file afterwards, in file order
//   unpaired: <key>              a last key that has no value
//
// Settings keys and values are converted from the ANSI code page. Bytes below 0x20 and 0x7F
// are written as \xHH so that every entry stays on one line. The name ends at the first ": ".

// What the stand-in game found when it started.
struct GameStart
{
    std::wstring commandLine;
    std::wstring workingFolder;
    std::wstring executablePath;
    // In the ANSI code page; empty when there is no settings folder.
    std::string settingsPath;
    bool settingsFileFound = false;
};

// The report for `start`. The known keys are taken out of `settings` as the game would take
// them; what is left is listed after them.
std::string ComposeGameReport(const GameStart& start, CSettingsFile settings);
