#include "settings/ProductMode.h"

#include "settings/FixedNames.h"

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
    return IsFreeEdition() ? kFreeFolderName : kRetailFolderName;
}

const char* GetGameExecutableName()
{
    return IsFreeEdition() ? kFreeExecutableName : kRetailExecutableName;
}
