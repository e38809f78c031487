#pragma once

#include <string>

// The stand-in game tells its edition by its own file name, since the two editions ship as
// two executables built from the same sources.

// True when the file name of `executablePath` is DRAVMP.exe, in any letter case: the free
// multiplayer edition. Any other name is the retail game.
bool IsFreeEditionExecutable(const std::wstring& executablePath);

// The edition's folder name below the settings folder: "DRAVFree" or "DRAV".
const char* EditionFolderName(bool freeEdition);

// The part of `path` after its last backslash or slash.
std::wstring FileNameOf(const std::wstring& path);

// What follows the program name in `commandLine`, split off as the C runtime does: a program
// name in double quotes runs to the next quote, an unquoted one to the first blank or tab;
// the blanks and tabs after it are skipped.
std::wstring ArgumentsAfterProgramName(const std::wstring& commandLine);
