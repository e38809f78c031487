#include "settings/SettingsFilePath.h"

#include "settings/SettingsFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

TEST(SettingsFilePath, IsSettingsCfgInTheProductSettingsFolder)
{
    const std::string retail = GetSettingsFilePath("DRAV");
    EXPECT_TRUE(EndsWith(retail, "\\Kerrowind\\DRAV\\settings.cfg")) << retail;
    EXPECT_TRUE(PathExists(retail.substr(0, retail.size() - 12).c_str()));

    const std::string free = GetSettingsFilePath("DRAVFree");
    EXPECT_TRUE(EndsWith(free, "\\Kerrowind\\DRAVFree\\settings.cfg")) << free;
    EXPECT_EQ(retail.substr(0, retail.size() - 17), free.substr(0, free.size() - 21));
}
