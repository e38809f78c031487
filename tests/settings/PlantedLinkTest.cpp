#include "settings/SettingsFile.h"
#include "settings/SettingsFileWriter.h"
#include "settings/SettingsFolder.h"
#include "tests/support/FileContent.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
// Made before the tests by plant-links.sh, in the test prefix's drive C.
const std::string kPlanted = "C:\\planted\\";
const char kText[] = "\"DisableSound\" \"1\"\n";
} // namespace

TEST(PlantedLink, IsNeitherReadNorWrittenAndLeavesItsTargetAlone)
{
    ASSERT_TRUE(PathExists((kPlanted + "victims").c_str())) << "run through CTest, which plants";
    const struct
    {
        const char* link;
        const char* victim;
    } cases[] = {
        {"product-link", "victims\\product\\settings.cfg"},
        {"company-link", "victims\\company\\DRAV\\settings.cfg"},
        {"file-link", "victims\\file.cfg"},
    };
    for (const auto& test : cases)
    {
        const std::string path = kPlanted + test.link + "\\Kerrowind\\DRAV\\settings.cfg";
        const std::string victim = kPlanted + test.victim;
        const std::string before = ReadWholeFile(victim);
        ASSERT_FALSE(before.empty()) << victim;

        CSettingsFile settings;
        EXPECT_FALSE(CSettingsFile::Load(path.c_str(), settings)) << test.link;
        EXPECT_TRUE(settings.Tokens().empty()) << test.link;
        EXPECT_EQ(SettingsWriteResult::OpenFailed, WriteSettingsFile(path, kText)) << test.link;
        EXPECT_EQ(before, ReadWholeFile(victim)) << test.link;
    }
}

TEST(PlantedLink, ADanglingLinkIsReplacedAndNothingIsMadeWhereItPoints)
{
    const std::string path = kPlanted + "dangling-link\\Kerrowind\\DRAV\\settings.cfg";
    ASSERT_TRUE(PathExists((kPlanted + "dangling-link").c_str())) << "run through CTest";

    CSettingsFile settings;
    EXPECT_TRUE(CSettingsFile::Load(path.c_str(), settings));
    EXPECT_EQ(SettingsWriteResult::Written, WriteSettingsFile(path, kText));
    EXPECT_FALSE(PathExists((kPlanted + "victims\\never.cfg").c_str()));
    EXPECT_EQ("\"DisableSound\" \"1\"\r\n", ReadWholeFile(path));
}

TEST(PlantedLink, ASettingsFileWithASecondNameIsNeitherReadNorWritten)
{
    const TempFolder folder;
    ASSERT_TRUE(CreatePath((folder / "Kerrowind\\DRAV").c_str()));
    folder.WriteFile("victim.cfg", "\"Victim\" \"hard\"\r\n");
    const std::string path = folder / "Kerrowind\\DRAV\\settings.cfg";
    ASSERT_TRUE(CreateHardLinkA(path.c_str(), (folder / "victim.cfg").c_str(), nullptr));

    CSettingsFile settings;
    EXPECT_FALSE(CSettingsFile::Load(path.c_str(), settings));
    EXPECT_EQ(SettingsWriteResult::OpenFailed, WriteSettingsFile(path, kText));
    EXPECT_EQ("\"Victim\" \"hard\"\r\n", folder.ReadFile("victim.cfg"));
}
