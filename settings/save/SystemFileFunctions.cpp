#include "settings/save/SystemFileFunctions.h"

namespace
{
template <typename Function> Function Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

SystemFileFunctions LookUpSystemFileFunctions()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    SystemFileFunctions functions;
    functions.getFinalPathNameByHandle =
        Lookup<decltype(functions.getFinalPathNameByHandle)>(kernel, "GetFinalPathNameByHandleW");
    functions.ntCreateFile = Lookup<decltype(functions.ntCreateFile)>(ntdll, "NtCreateFile");
    functions.ntSetInformationFile = Lookup<NtFileInformationCall>(ntdll, "NtSetInformationFile");
    functions.ntQueryInformationFile =
        Lookup<NtFileInformationCall>(ntdll, "NtQueryInformationFile");
    functions.ntStatusToDosError =
        Lookup<decltype(functions.ntStatusToDosError)>(ntdll, "RtlNtStatusToDosError");
    return functions;
}
} // namespace

const SystemFileFunctions& GetSystemFileFunctions()
{
    static const SystemFileFunctions functions = LookUpSystemFileFunctions();
    return functions;
}

bool CallFileInformation(NtFileInformationCall call, HANDLE file, void* info, ULONG size,
                         ULONG infoClass)
{
    const auto toDosError = GetSystemFileFunctions().ntStatusToDosError;
    if (call == nullptr || toDosError == nullptr)
    {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return false;
    }
    IO_STATUS_BLOCK status = {};
    const NTSTATUS result = call(file, &status, info, size, infoClass);
    if (result >= 0)
        return true;
    SetLastError(toDosError(result));
    return false;
}
