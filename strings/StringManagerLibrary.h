#pragma once

#include "strings/LexoraMgr.h"

#include <cstddef>

// Length, in UTF-16 code units with the terminating NUL, of the buffers for the launcher's
// own path and for the library path composed from it.
constexpr size_t kModulePathLength = 1024;

// Writes the folder of `modulePath` followed by "LexoraRuntime.dll" into `libraryPath`.
// False, with `libraryPath` untouched, when `modulePath` does not fit the buffer or its folder
// is longer than the runtime's path splitter takes (_MAX_DIR - 1 characters).
bool ComposeStringManagerPath(const wchar_t* modulePath, wchar_t (&libraryPath)[kModulePathLength]);

// Loads LexoraRuntime.dll from the folder of the launcher's executable, never from the
// working directory. True when loaded; the library then stays loaded until the process ends.
bool LoadStringManagerLibrary();

// The string manager, loading the library first when it is not loaded yet (a failed load is
// tried again at the next call). Null when the library or its export is missing. The export
// is resolved on every call, so callers ask again at every use instead of keeping the result.
ILexoraMgr* GetStringManager();
