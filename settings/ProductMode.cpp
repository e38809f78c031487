#include "settings/ProductMode.h"

#include <windows.h>

int ReadProductMode()
{
    return static_cast<int>(
        GetPrivateProfileIntA("General", "PRODUCT_MPFREE", 0, ".\\gamecfg.txt"));
}

bool IsFreeEdition()
{
    return ReadProductMode() == 1;
}

const char* GetProductFolderName()
{
    return IsFreeEdition() ? "DRAVFree" : "DRAV";
}

const char* GetGameExecutableName()
{
    return IsFreeEdition() ? "DRAVMP.exe" : "DRAV.exe";
}
