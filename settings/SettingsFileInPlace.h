#pragma once

#include <windows.h>

#include <string>

// WriteFile, or a stand-in that fails the way a full disk does.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                    LPOVERLAPPED overlapped);

// Copies the complete file at `sourcePath` byte for byte over the existing file at `path`,
// which another program may hold open for reading or writing, and cuts it to the new length.
// The bytes beyond the old file's end are written first: when the disk cannot take them,
// the file is cut back to its old length and its content is untouched. Only then are the
// old bytes overwritten, which needs no further space. False when anything failed.
bool RewriteFileInPlace(const std::string& path, const std::string& sourcePath,
                        FileWriteCall write);
