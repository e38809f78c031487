#pragma once

#include "settings/save/SettingsFileCalls.h"

#include <windows.h>

#include <string>

class CBriefHoldRetry;

enum class InPlaceResult
{
    Rewritten,
    FailedFileKept,    // the file holds its old bytes and its old length
    FailedFileDamaged, // the old bytes could not be put back either
};

// Writes `bytes` over the content of the open `file` (opened for reading and writing), which
// another program may hold open for reading or writing, and cuts it to the new length. All or
// nothing: the file ends up holding either the complete new content, or its old bytes and its
// old length.
//   - Before anything is written, the range to be written is locked against every other
//     program, so that a program that holds a lock in it is found first (and waited for
//     through `retry`, under `path`) while the file is still untouched.
//   - The bytes beyond the old file's end are written first: when the disk cannot take them,
//     the file is cut back to its old length and no old byte has been touched.
//   - When overwriting the old bytes, cutting the file or putting it on the disk fails, the
//     old bytes and the old length are written back.
// Only when that too fails is the file left damaged.
InPlaceResult RewriteFileInPlace(HANDLE file, const std::string& bytes, FileWriteCall write,
                                 const std::string& path, CBriefHoldRetry& retry);
