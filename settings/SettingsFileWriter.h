#pragma once

#include <cstdio>
#include <string>

enum class SettingsWriteResult
{
    Written,
    OpenFailed,  // the file cannot be written at all; nothing was changed
    WriteFailed, // writing the new content failed; the old file is kept as it was
};

// The C runtime calls made on the new file, so that a test can fail them the way a full
// disk does. The product uses fopen, fputs, fflush and fclose themselves.
struct SettingsFileCalls
{
    FILE* (*open)(const char* path, const char* mode);
    int (*write)(const char* text, FILE* file);
    int (*flush)(FILE* file);
    int (*close)(FILE* file);
};

// Replaces the file at `path` (ANSI code page) with `text`, written in text mode so that
// each line feed reaches the disk as CR LF; an empty text gives a zero-byte file.
// The text goes to `path` + ".new" in the same folder first and replaces the file only once
// it is completely written and closed, so a failure never leaves the file empty or cut
// short. OpenFailed when the path is empty, the folder is missing, or an existing file is
// read-only or held open by someone who denies writing. The replacing file takes the
// folder's default attributes and permissions, not those the old file had.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text);

// The same with the calls on the new file taken from `calls`.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls);
