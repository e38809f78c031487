#pragma once

#include <string>

// The full path of settings.cfg in the installed product's settings folder, or "" when no
// settings folder can be had. Loading and saving both go through this one path.
std::string GetSettingsFilePath();
