#include "settings/SettingsFolder.h"

#include "settings/BoundedString.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
// What the fake shell query reports as the shared documents folder.
std::string g_sharedDocuments;

HRESULT FakeSharedDocuments(char* path)
{
    BoundedCopy(path, g_sharedDocuments.c_str(), MAX_PATH);
    return S_OK;
}

HRESULT FailingSharedDocuments(char*)
{
    return E_FAIL;
}

class SettingsFolderTest : public testing::Test
{
protected:
    void SetUp() override { g_sharedDocuments = m_documents.Path(); }

    TempFolder m_documents;
};
} // namespace

TEST_F(SettingsFolderTest, ComposesAndCreatesCompanyAndProductFolders)
{
    char buffer[MAX_PATH] = {};
    GetSettingsFolder("DRAV", buffer, sizeof buffer, FakeSharedDocuments);

    EXPECT_EQ(m_documents.Path() + "\\Kerrowind\\DRAV\\", buffer);
    EXPECT_TRUE(PathExists((m_documents / "Kerrowind").c_str()));
    EXPECT_TRUE(PathExists(buffer));
}

TEST_F(SettingsFolderTest, EmptyOrNullProductNameGivesTheCompanyFolder)
{
    char buffer[MAX_PATH] = {};
    GetSettingsFolder("", buffer, sizeof buffer, FakeSharedDocuments);
    EXPECT_EQ(m_documents.Path() + "\\Kerrowind\\", buffer);
    GetSettingsFolder(nullptr, buffer, sizeof buffer, FakeSharedDocuments);
    EXPECT_EQ(m_documents.Path() + "\\Kerrowind\\", buffer);
}

TEST_F(SettingsFolderTest, FailureLeavesTheBufferUntouched)
{
    char buffer[MAX_PATH];
    memset(buffer, 'x', sizeof buffer);

    GetSettingsFolder("DRAV", buffer, sizeof buffer, FailingSharedDocuments);
    EXPECT_EQ(std::string(MAX_PATH, 'x'), std::string(buffer, MAX_PATH));

    // documents + "\Kerrowind\" (11) + "DRAV" (4) + "\" (1) must stay below the size.
    const size_t fitting = m_documents.Path().size() + 11 + 4 + 1 + 1;
    GetSettingsFolder("DRAV", buffer, fitting - 1, FakeSharedDocuments);
    EXPECT_EQ(std::string(MAX_PATH, 'x'), std::string(buffer, MAX_PATH));
    EXPECT_FALSE(PathExists((m_documents / "Kerrowind").c_str()));

    GetSettingsFolder("DRAV", buffer, fitting, FakeSharedDocuments);
    EXPECT_EQ(m_documents.Path() + "\\Kerrowind\\DRAV\\", buffer);
}

TEST_F(SettingsFolderTest, VeryLongSharedDocumentsPathIsRefused)
{
    g_sharedDocuments = "C:\\" + std::string(250, 'd');
    char buffer[MAX_PATH] = "unchanged";
    GetSettingsFolder("DRAV", buffer, sizeof buffer, FakeSharedDocuments);
    EXPECT_STREQ("unchanged", buffer);
}

TEST(ProductSettingsFolder, UsesTheShellsSharedDocumentsFolder)
{
    TempFolder working;
    ScopedCurrentDirectory inWorking(working.Path());

    char buffer[MAX_PATH] = {};
    GetProductSettingsFolder(buffer, sizeof buffer);
    const std::string folder = buffer;
    ASSERT_GT(folder.size(), strlen("\\Kerrowind\\DRAV\\"));
    EXPECT_EQ("\\Kerrowind\\DRAV\\", folder.substr(folder.size() - strlen("\\Kerrowind\\DRAV\\")));
    EXPECT_TRUE(PathExists(buffer));

    working.WriteFile("gamecfg.txt", "[General]\r\nPRODUCT_MPFREE=1\r\n");
    GetProductSettingsFolder(buffer, sizeof buffer);
    EXPECT_EQ(folder.substr(0, folder.size() - 5) + "DRAVFree\\", buffer);
}

TEST(PathExists, FilesAndFoldersWithOrWithoutTrailingBackslash)
{
    TempFolder folder;
    folder.WriteFile("file.txt", "x");
    EXPECT_TRUE(PathExists(folder.Path().c_str()));
    EXPECT_TRUE(PathExists((folder.Path() + "\\").c_str()));
    EXPECT_TRUE(PathExists((folder / "file.txt").c_str()));
    EXPECT_FALSE(PathExists((folder / "missing").c_str()));
    EXPECT_FALSE(PathExists(""));
    EXPECT_FALSE(PathExists(nullptr));
}

TEST(CreatePath, CreatesEachComponentOnceAcrossDoubledBackslashes)
{
    TempFolder folder;
    const std::string path = folder.Path() + "\\\\one\\\\two\\";
    EXPECT_TRUE(CreatePath(path.c_str()));
    EXPECT_TRUE(PathExists((folder / "one\\two").c_str()));
    EXPECT_TRUE(CreatePath(path.c_str())); // already there
}

TEST(CreatePath, BareMissingDriveFails)
{
    EXPECT_FALSE(CreatePath("Q:"));
}

TEST(CreatePath, FileNamedLikeAComponentCountsAsExisting)
{
    TempFolder folder;
    folder.WriteFile("taken", "x");
    EXPECT_TRUE(CreatePath((folder / "taken").c_str()));
    // A directory below that file cannot be made.
    EXPECT_FALSE(CreatePath((folder / "taken\\below").c_str()));
}

TEST(CreatePath, NetworkPathNeverMakesFoldersBelowTheDriveRoot)
{
    TempFolder working;
    ScopedCurrentDirectory inWorking(working.Path());
    char root[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, root);
    root[3] = '\0'; // "C:\"

    EXPECT_FALSE(CreatePath("\\\\nosuchserver\\share\\Kerrowind\\DRAV\\"));
    EXPECT_FALSE(CreatePath("\\\\nosuchserver\\share"));
    EXPECT_FALSE(PathExists((std::string(root) + "nosuchserver").c_str()));
}
