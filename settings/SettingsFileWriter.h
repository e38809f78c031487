#pragma once

#include "settings/SettingsFileCalls.h"

#include <string>

enum class SettingsWriteResult
{
    Written,
    OpenFailed,         // the file cannot be written at all; nothing was changed
    WriteFailed,        // writing the new content failed; the old file is kept as it was
    WriteFailedDamaged, // rewriting the file in place failed, and so did putting it back
};

// Replaces the settings file at `path` (ANSI code page) with `text`, each line feed written
// as CR LF; an empty text gives a zero-byte file. Only through checked handles in held
// folders (CHeldSettingsFolder): when the file, its folder or the folder above it is a link,
// or the file has a second name, nothing is read, written or removed, and the result is
// OpenFailed.
// The text goes to a new file in the same folder first (CTemporarySettingsFile) and reaches
// the disk itself before that file takes the old one's place, so neither a failure nor a
// power cut leaves the file empty or cut short. An existing file keeps its attributes and its
// access rights. When the old file cannot be replaced but can be written (a program holds it
// open without sharing its deletion, or the player may write it but not delete it), the new
// content is written over it in place instead, all or nothing (RewriteFileInPlace); a power
// cut during that rewrite can leave it damaged. The new file is gone after every save. A
// program that holds the file for a moment is waited for (CBriefHoldRetry), one budget for the
// whole save.
// OpenFailed when the path is empty, a folder is missing, or an existing file is read-only
// or held open by someone who denies writing.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text);

// The same with the calls that write taken from `calls`.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls);
