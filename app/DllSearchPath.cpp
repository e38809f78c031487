#include "app/DllSearchPath.h"

#include <windows.h>

#include <string>

void RemoveCurrentDirectoryFromDllSearch()
{
    using SetDllDirectoryCall = BOOL(WINAPI*)(LPCWSTR);
    const auto setDllDirectory = reinterpret_cast<SetDllDirectoryCall>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDllDirectoryW")));
    if (!setDllDirectory)
        return;
    // A folder given here takes the current directory's place in the search. The launcher's
    // own folder is searched first anyway, so naming it adds nothing; Windows takes an empty
    // name the same way, but Wine keeps the current directory for it.
    std::wstring folder(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, &folder[0], MAX_PATH);
    const size_t slash = folder.rfind(L'\\', length);
    if (length == 0 || length >= MAX_PATH || slash == std::wstring::npos)
        setDllDirectory(L"");
    else
        setDllDirectory(folder.substr(0, slash).c_str());
}
