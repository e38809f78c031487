#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

enum class SettingsWriteResult
{
    Written,
    OpenFailed,  // the file cannot be written at all; nothing was changed
    WriteFailed, // writing the new content failed; the old file is kept as it was
};

// The calls that put the text on the disk, so that a test can fail them the way a full disk
// does. The product uses fopen, fputs, fflush and fclose on the new file, and WriteFile
// when an existing file held open by another program is rewritten in place.
struct SettingsFileCalls
{
    FILE* (*open)(const char* path, const char* mode);
    int (*write)(const char* text, FILE* file);
    int (*flush)(FILE* file);
    int (*close)(FILE* file);
    BOOL(WINAPI* writeInPlace)
    (HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped);
};

// Replaces the file at `path` (ANSI code page) with `text`, written in text mode so that
// each line feed reaches the disk as CR LF; an empty text gives a zero-byte file.
// The text goes to `path` + ".new" in the same folder first and replaces the file only once
// it is completely written and closed, so a failure never leaves the file empty or cut
// short. An existing file keeps its attributes and its access rights. When another program
// holds it open without letting it be replaced, the complete new file is copied over it in
// place instead, and only once the disk has taken every byte beyond the old file's end.
// OpenFailed when the path is empty, the folder is missing, or an existing file is
// read-only or held open by someone who denies writing.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text);

// The same with the calls that write taken from `calls`.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls);
