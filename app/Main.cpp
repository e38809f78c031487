#include "app/DllSearchPath.h"
#include "app/WinApp_ConfigApp.h"

#include <windows.h>

// The one application object, constructed before the entry point runs.
CWinApp_ConfigApp theApp;

// The launcher's command line is not interpreted.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    RemoveCurrentDirectoryFromDllSearch();
    return AfxWinMain(instance);
}
