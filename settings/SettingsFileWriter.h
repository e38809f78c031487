#pragma once

#include <windows.h>

#include <io.h>

#include <cstdio>
#include <string>

enum class SettingsWriteResult
{
    Written,
    OpenFailed,  // the file cannot be written at all; nothing was changed
    WriteFailed, // writing the new content failed; the old file is kept as it was
};

// The calls that put the text on the disk, so that a test can fail them the way a full disk,
// a failing disk or a refusing file system does. Each is the system's own unless a test
// replaces it.
struct SettingsFileCalls
{
    // The new file, through the C runtime.
    FILE* (*open)(const char* path, const char* mode) = fopen;
    int (*write)(const char* text, FILE* file) = fputs;
    int (*flush)(FILE* file) = fflush;
    // Puts what the system holds of the file (by descriptor) on the disk itself.
    int (*commit)(int descriptor) = _commit;
    int (*close)(FILE* file) = fclose;
    // The new file in the place of the old one.
    BOOL(WINAPI* replace)
    (LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID,
     LPVOID) = ReplaceFileA;
    // The new content over the old file, when the old file is rewritten in place.
    BOOL(WINAPI* writeInPlace)
    (HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) = WriteFile;
};

// Replaces the file at `path` (ANSI code page) with `text`, written in text mode so that
// each line feed reaches the disk as CR LF; an empty text gives a zero-byte file.
// The text goes to `path` + ".new" in the same folder first and reaches the disk itself
// before it replaces the file, so neither a failure nor a power cut leaves the file empty or
// cut short. An existing file keeps its attributes and its access rights. When the replace is
// refused while the old file is still there and can be written (a program holds it open
// without sharing its deletion, or the player may write it but not delete it), the complete
// new file is copied over it in place instead, all or nothing (RewriteFileInPlace). The
// ".new" file is gone after every save, whether it succeeded or failed. A program that holds
// the file for a moment is waited for (CBriefHoldRetry), one budget for the whole save.
// OpenFailed when the path is empty, the folder is missing, or an existing file is
// read-only or held open by someone who denies writing.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text);

// The same with the calls that write taken from `calls`.
SettingsWriteResult WriteSettingsFile(const std::string& path, const std::string& text,
                                      const SettingsFileCalls& calls);
