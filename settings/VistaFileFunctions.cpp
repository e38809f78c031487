#include "settings/VistaFileFunctions.h"

namespace
{
template <typename Function> Function Lookup(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

VistaFileFunctions LookUpVistaFileFunctions()
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    VistaFileFunctions functions;
    functions.getFinalPathNameByHandle =
        Lookup<decltype(functions.getFinalPathNameByHandle)>(kernel, "GetFinalPathNameByHandleW");
    functions.setFileInformationByHandle = Lookup<decltype(functions.setFileInformationByHandle)>(
        kernel, "SetFileInformationByHandle");
    return functions;
}
} // namespace

const VistaFileFunctions& GetVistaFileFunctions()
{
    static const VistaFileFunctions functions = LookUpVistaFileFunctions();
    return functions;
}
