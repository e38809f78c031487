#include "settings/SettingsFilePath.h"

#include "settings/FixedNames.h"
#include "settings/SettingsFolder.h"

#include <windows.h>

std::string GetSettingsFilePath(const char* productName)
{
    // GetSettingsFolder leaves the buffer as it was when the shared documents folder is
    // unknown or the folder would not fit. The buffer starts empty and an empty folder gives
    // an empty path: loading then finds nothing and saving fails to open, rather than reading
    // or writing a settings.cfg in whatever the current directory happens to be.
    char folder[MAX_PATH] = {};
    GetSettingsFolder(productName, folder, sizeof folder);
    if (folder[0] == '\0')
        return std::string();
    // The folder already ends in a backslash.
    return std::string(folder) + kSettingsFileName;
}
