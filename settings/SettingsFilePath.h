#pragma once

#include <string>

// The full path of settings.cfg in the settings folder of `productName` ("DRAV" or
// "DRAVFree"), which is created on demand; "" when no settings folder can be had. The
// launcher, the stand-in game and the tests all find the file through this one function.
std::string GetSettingsFilePath(const char* productName);
