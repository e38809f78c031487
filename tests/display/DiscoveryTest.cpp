#include "display/DisplayCatalogue.h"

#include "framework/WinApp.h"
#include "tests/display/FakeDirect3D.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

// A working folder (where .\gamecfg.txt and settings.cfg are read) and a separate games
// folder to search, both temporary. Renderers are enumerated with the system's Direct3D.
class DiscoveryTest : public testing::Test
{
protected:
    void MakeFreeEdition() { m_work.WriteFile("gamecfg.txt", "[General]\r\nPRODUCT_MPFREE=1\r\n"); }

    TempFolder m_work;
    ScopedCurrentDirectory m_inWork{m_work.Path()};
    TempFolder m_games;
    DisplayCatalogue m_catalogue;
};
} // namespace

TEST_F(DiscoveryTest, FindsTheRetailExecutableWithOrWithoutTrailingBackslash)
{
    m_games.WriteFile("DRAV.exe", "");
    m_games.WriteFile("DRAVMP.exe", "");

    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));
    RendererInfo* renderer = m_catalogue.FirstRenderer();
    ASSERT_NE(nullptr, renderer);
    EXPECT_NE(nullptr, renderer->FirstDisplay()) << "the renderer was not enumerated";
    EXPECT_EQ(nullptr, m_catalogue.NextRenderer());

    DisplayCatalogue withBackslash;
    EXPECT_EQ(1, withBackslash.DiscoverRenderers(Wide(m_games.Path() + "\\").c_str()));
}

TEST_F(DiscoveryTest, FindsNothingWithoutTheProductsExecutable)
{
    m_games.WriteFile("DRAVMP.exe", "");
    m_games.WriteFile("DRAV.exe.bak", "");
    EXPECT_EQ(0, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));
    EXPECT_EQ(0, m_catalogue.DiscoverRenderers(Wide(m_games / "missing").c_str()));
    EXPECT_EQ(nullptr, m_catalogue.FirstRenderer());
}

TEST_F(DiscoveryTest, NoFolderMeansTheWorkingFolder)
{
    m_work.WriteFile("DRAV.exe", "");
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(L""));
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(nullptr));
    EXPECT_EQ(0, DisplayCatalogue().DiscoverRenderers(Wide(m_games.Path()).c_str()));
}

TEST_F(DiscoveryTest, FreeEditionLooksOnlyForItsOwnExecutable)
{
    MakeFreeEdition();
    m_games.WriteFile("DRAV.exe", "");
    EXPECT_EQ(0, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));

    m_games.WriteFile("DRAVMP.exe", "");
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));
}

TEST_F(DiscoveryTest, ProductModeIsReadAtEachDiscovery)
{
    m_games.WriteFile("DRAVMP.exe", "");
    EXPECT_EQ(0, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));
    MakeFreeEdition();
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(m_games.Path()).c_str()));
}

TEST_F(DiscoveryTest, SearchPatternIsCutAt255Characters)
{
    const auto folderOfLength = [this](size_t length)
    {
        const std::string parent = m_games.Path() + "\\";
        const std::string folder = parent + std::string(length - parent.size(), 'f');
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        return folder;
    };
    // "<folder>\DRAV.exe" is exactly 255 characters long.
    const std::string exact = folderOfLength(255 - 9);
    m_games.WriteFile(exact.substr(m_games.Path().size() + 1) + "\\DRAV.exe", "");
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(exact).c_str()));
    // A trailing backslash is not doubled, so this pattern is no longer either.
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(exact + "\\").c_str()));

    // Four characters more: the pattern is cut to "<folder>\DRAV".
    const std::string over = folderOfLength(255 - 5);
    m_games.WriteFile(over.substr(m_games.Path().size() + 1) + "\\DRAV", "");
    EXPECT_EQ(1, m_catalogue.DiscoverRenderers(Wide(over).c_str()));
}

namespace
{
HCURSOR g_cursorWhileEnumerating = nullptr;

IDirect3D9* CreateNotingTheCursor()
{
    g_cursorWhileEnumerating = GetCursor();
    return CreateFakeDirect3D();
}
} // namespace

TEST_F(DiscoveryTest, BuildChoosesTheFirstDisplayAndThePriorSize)
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    m_work.WriteFile("DRAV.exe", "");
    m_work.WriteFile("settings.cfg", "\"ScreenWidth\" \"" + std::to_string(width) +
                                         "\"\n\"ScreenHeight\" \"" + std::to_string(height) +
                                         "\"\n\"BitDepth\" \"32\"\n");

    EXPECT_TRUE(m_catalogue.Build(L"", L"settings.cfg"));
    EXPECT_EQ(L"", m_catalogue.GetFolder());
    RendererInfo* renderer = m_catalogue.GetChosenRenderer();
    ASSERT_NE(nullptr, renderer);
    EXPECT_EQ(m_catalogue.FirstRenderer(), renderer);
    DisplayInfo* display = renderer->GetChosenDisplay();
    ASSERT_NE(nullptr, display);
    EXPECT_EQ(renderer->FirstDisplay(), display);
    ASSERT_NE(nullptr, display->GetChosenResolution());
    EXPECT_EQ(display->FindResolution(width, height, 32), display->GetChosenResolution());
}

TEST_F(DiscoveryTest, BuildWithoutSettingsChoosesNoResolution)
{
    m_work.WriteFile("DRAV.exe", "");
    EXPECT_TRUE(m_catalogue.Build(nullptr, L"settings.cfg"));
    RendererInfo* renderer = m_catalogue.GetChosenRenderer();
    ASSERT_NE(nullptr, renderer);
    ASSERT_NE(nullptr, renderer->GetChosenDisplay());
    EXPECT_EQ(nullptr, renderer->GetChosenDisplay()->GetChosenResolution());
}

TEST_F(DiscoveryTest, BuildWithoutExecutableLeavesTheCatalogueEmpty)
{
    m_work.WriteFile("settings.cfg", "\"ScreenWidth\" \"640\"\n");
    EXPECT_TRUE(m_catalogue.Build(Wide(m_games.Path()).c_str(), L"settings.cfg"));
    EXPECT_EQ(Wide(m_games.Path()), m_catalogue.GetFolder());
    EXPECT_EQ(nullptr, m_catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, m_catalogue.FirstRenderer());
}

TEST_F(DiscoveryTest, BuildShowsTheWaitCursorOnlyWhileItRuns)
{
    CWinApp application;
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    FakeDirect3D fake({{"\\\\.\\DISPLAY1", "Card", {{640, 480, 60, D3DFMT_X8R8G8B8}}}});
    m_work.WriteFile("DRAV.exe", "");

    DisplayCatalogue catalogue(CreateNotingTheCursor);
    EXPECT_TRUE(catalogue.Build(L"", L"settings.cfg"));
    EXPECT_EQ(1, fake.Creations());
    EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), g_cursorWhileEnumerating);
    EXPECT_EQ(arrow, GetCursor());
}
