#pragma once

// The installed edition, read from the profile file .\gamecfg.txt in the current directory.
// Nothing is cached: every call reads the file again, so an edit is seen at the next use.

// "PRODUCT_MPFREE" of section "General"; 0 when the file, section or key is missing.
int ReadProductMode();

// True only for the free multiplayer edition (product mode exactly 1).
bool IsFreeEdition();

// "DRAVFree" for the free multiplayer edition, "DRAV" otherwise.
const char* GetProductFolderName();

// "DRAVMP.exe" for the free multiplayer edition, "DRAV.exe" otherwise.
const char* GetGameExecutableName();
