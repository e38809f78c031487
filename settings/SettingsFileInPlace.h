#pragma once

#include <windows.h>

#include <string>

class CBriefHoldRetry;

// WriteFile, or a stand-in that fails the way a full or failing disk does.
using FileWriteCall = BOOL(WINAPI*)(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written,
                                    LPOVERLAPPED overlapped);

// Copies the complete file at `sourcePath` byte for byte over the existing file at `path`,
// which another program may hold open for reading or writing, and cuts it to the new length.
// All or nothing: the file ends up holding either the complete new content, or its old bytes
// and its old length.
//   - Before anything is written, the range to be written is locked against every other
//     program, so that a program that holds a lock in it is found first (and waited for
//     through `retry`) while the file is still untouched.
//   - The bytes beyond the old file's end are written first: when the disk cannot take them,
//     the file is cut back to its old length and no old byte has been touched.
//   - When overwriting the old bytes, cutting the file or putting it on the disk fails, the
//     old bytes and the old length are written back.
// False when anything failed.
bool RewriteFileInPlace(const std::string& path, const std::string& sourcePath, FileWriteCall write,
                        CBriefHoldRetry& retry);
