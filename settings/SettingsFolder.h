#pragma once

#include <windows.h>

#include <cstddef>

// The settings folder: the shared documents folder + "\Kerrowind\" + product folder + "\".
// It always ends with a backslash and is created on demand.

// Asks for the shared documents folder, writing at most MAX_PATH bytes into `path`.
// Returns a negative HRESULT on failure, as SHGetFolderPathA does.
using SharedDocumentsQuery = HRESULT (*)(char* path);

// Writes the settings folder of `productName` (may be null or empty) into `buffer` and
// creates it. On failure (no shared documents folder, or the result would not fit in `size`
// bytes) the buffer is left exactly as it was. A folder that cannot be created is still
// returned: the write into it reports the failure later.
void GetSettingsFolder(const char* productName, char* buffer, size_t size);

// The same with the shared documents folder taken from `query`, so that tests can stand in
// for what the shell reports. The product always uses the overload above.
void GetSettingsFolder(const char* productName, char* buffer, size_t size,
                       SharedDocumentsQuery query);

// GetSettingsFolder for the installed product (the product mode is read at this call).
void GetProductSettingsFolder(char* buffer, size_t size);

// True when a file or directory exists at `path`; a single trailing backslash is ignored.
// Never raises a system error box, for instance for a drive without a medium.
bool PathExists(const char* path);

// Creates every missing directory of `path`; true when all of them exist afterwards.
// A component that exists as a file counts as existing.
bool CreatePath(const char* path);
