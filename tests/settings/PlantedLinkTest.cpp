#include "settings/SettingsFile.h"
#include "settings/SettingsFolder.h"
#include "settings/save/SettingsFileSave.h"
#include "tests/support/FileContent.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
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
        EXPECT_EQ(SettingsWriteResult::ReadFailed, WriteSettingsFile(path, kText)) << test.link;
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
    EXPECT_EQ(SettingsWriteResult::ReadFailed, WriteSettingsFile(path, kText));
    EXPECT_EQ("\"Victim\" \"hard\"\r\n", folder.ReadFile("victim.cfg"));
}

TEST(PlantedLink, AFolderMovedAfterTheCheckGetsNoFileInItsOldPlace)
{
    // A mount point set on the held product folder would send a name given by its path
    // elsewhere. Wine makes no mount points, so the folder above is moved away and another put
    // in its place: the new file must be made in the held folder itself, and removed there.
    const TempFolder outer;
    ASSERT_TRUE(CreatePath((outer / "docs\\Kerrowind\\DRAV").c_str()));
    outer.WriteFile("docs\\Kerrowind\\DRAV\\settings.cfg", "\"Old\" \"1\"\r\n");
    {
        CSettingsFileSave save;
        CSettingsFile read;
        ASSERT_EQ(SettingsWriteResult::Written,
                  save.Begin(outer / "docs\\Kerrowind\\DRAV\\settings.cfg", read));
        EXPECT_FALSE(MoveFileA((outer / "docs\\Kerrowind").c_str(), (outer / "other").c_str()))
            << "a held folder is not renamed";
        ASSERT_TRUE(MoveFileA((outer / "docs").c_str(), (outer / "moved").c_str()));
        ASSERT_TRUE(CreatePath((outer / "docs\\Kerrowind\\DRAV").c_str()));

        EXPECT_EQ(SettingsWriteResult::OpenFailed, save.Replace(kText));
    }
    // The refused new file is removed through its handle on Windows; Wine removes a file by the
    // name it was opened with, which moved, so it stays in the moved folder there.
    EXPECT_TRUE(RemoveDirectoryA((outer / "docs\\Kerrowind\\DRAV").c_str()))
        << "nothing made there";
    EXPECT_EQ("\"Old\" \"1\"\r\n", ReadWholeFile(outer / "moved\\Kerrowind\\DRAV\\settings.cfg"));
}

TEST(PlantedLink, NoProductFolderIsMadeThroughACompanyFolderLink)
{
    ASSERT_TRUE(PathExists((kPlanted + "empty-company-link").c_str())) << "run through CTest";
    char folder[MAX_PATH] = {};
    GetSettingsFolder("DRAV", folder, sizeof folder,
                      [](char* path)
                      {
                          strcpy(path, "C:\\planted\\empty-company-link");
                          return S_OK;
                      });
    EXPECT_FALSE(PathExists((kPlanted + "victims\\company-empty\\DRAV").c_str()));
}
