#include "strings/StringManagerLibrary.h"

#include "framework/WinApp.h"
#include "settings/FixedNames.h"

#include <windows.h>

#include <cstdlib>
#include <cwchar>
#include <string>

namespace
{
HMODULE g_stringManagerModule = nullptr;

// The module the application framework holds; the executable itself when there is no
// application object (the system treats a null module as the executable).
HMODULE LauncherModule()
{
    const CWinApp* app = AfxGetApp();
    return app != nullptr ? app->m_hInstance : nullptr;
}

// Length of the folder part of `path`, its last separator included.
size_t FolderLength(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

// The runtime's path splitter hands out at most _MAX_DIR - 1 characters of directory and cuts
// or empties a longer one. A folder that did not come through whole would load the library
// from some other folder, or through the system's search order, which includes the working
// directory; such a path fails the load instead. Every folder that does come through whole
// leaves room for the library name in the 1024-unit buffer.
static_assert(2 + (_MAX_DIR - 1) + sizeof kStringManagerLibraryName / sizeof(wchar_t) <=
                  kModulePathLength,
              "the composed library path always fits");
} // namespace

bool ComposeStringManagerPath(const wchar_t* modulePath, wchar_t (&libraryPath)[kModulePathLength])
{
    if (modulePath == nullptr || wcslen(modulePath) >= kModulePathLength)
        return false;

    wchar_t drive[4] = {};
    wchar_t directory[kModulePathLength] = {};
    _wsplitpath(modulePath, drive, directory, nullptr, nullptr);
    if (wcslen(drive) + wcslen(directory) != FolderLength(modulePath))
        return false;
    _wmakepath(libraryPath, drive, directory, kStringManagerLibraryName, nullptr);
    return true;
}

bool LoadStringManagerLibrary()
{
    wchar_t modulePath[kModulePathLength] = {};
    const DWORD length = GetModuleFileNameW(LauncherModule(), modulePath, kModulePathLength);
    // A result of the full buffer length means the path was cut short.
    if (length == 0 || length >= kModulePathLength)
        return false;

    wchar_t libraryPath[kModulePathLength] = {};
    if (!ComposeStringManagerPath(modulePath, libraryPath))
        return false;

    g_stringManagerModule = LoadLibraryW(libraryPath);
    return g_stringManagerModule != nullptr;
}

ILexoraMgr* GetStringManager()
{
    if (g_stringManagerModule == nullptr && !LoadStringManagerLibrary())
        return nullptr;

    const FARPROC export_ = GetProcAddress(g_stringManagerModule, "GetILexoraMgr");
    if (export_ == nullptr)
        return nullptr;
    return reinterpret_cast<GetILexoraMgrFunction>(reinterpret_cast<void*>(export_))();
}
