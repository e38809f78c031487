#include "ui/PropertyPage_Display.h"

#include "framework/PropertySheet.h"
#include "settings/SettingsText.h"
#include "settings/save/SettingsFileSave.h"
#include "strings/StringDatabase.h"
#include "tests/display/FakeDirect3D.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/OwnedSettingsSync.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

namespace
{
constexpr D3DFORMAT kFormat = D3DFMT_X8R8G8B8;

// Two adapters; the second one's description holds double quotes. A fake: the real second
// monitor (e2e_two_monitor_tests) exists only on a display of its own, and Wine gives it the
// first one's description and modes, so no choice here would show which display it came from.
std::vector<FakeAdapter> TwoAdapters()
{
    return {
        {"\\\\.\\DISPLAY1", "Card A", {{640, 480, 60, kFormat}, {1024, 768, 60, kFormat}}},
        {"\\\\.\\DISPLAY2",
         "Card \"B\"",
         {{800, 600, 60, kFormat}, {1024, 768, 60, kFormat}, {1280, 1024, 60, kFormat}}},
    };
}

const char kFirstDisplayLines[] = "\"DeviceName\" \"\\\\.\\DISPLAY1\"\n\"Renderer\" \"Card A\"\n";
// A token cannot hold a double quote, so the description is stored with apostrophes.
const char kSecondDisplayLines[] =
    "\"DeviceName\" \"\\\\.\\DISPLAY2\"\n\"Renderer\" \"Card 'B'\"\n";

std::string StoredChoice(const char* deviceName, const char* size, const char* depth)
{
    return std::string("\"DeviceName\" \"") + deviceName + "\"\n\"ScreenWidth\" \"" + size +
           "\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"" + depth + "\"\n";
}
} // namespace

TEST(DisplayPage, StoredChoicesApplyOnlyWhereTheCatalogueHasThem)
{
    FakeDirect3D direct3D(TwoAdapters());
    const char kResolutionLines[] =
        "\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n";
    const struct
    {
        std::string stored;
        std::string lines;
        std::wstring chosen; // the label of the chosen display's chosen resolution, if any
    } cases[] = {
        {StoredChoice("\\\\.\\DISPLAY2", "1024", "32") + "\"Renderer\" \"any\"\n",
         kSecondDisplayLines + std::string(kResolutionLines), L"1024 x 768 x 32"},
        // A display that is gone: the size is looked up on the first display.
        {StoredChoice("\\\\.\\DISPLAY9", "1024", "32"),
         kFirstDisplayLines + std::string(kResolutionLines), L"1024 x 768 x 32"},
        // No display stored at all: the same.
        {kResolutionLines, kFirstDisplayLines + std::string(kResolutionLines), L"1024 x 768 x 32"},
        // Only 32-bit resolutions are on offer; the stored one is kept until one is chosen.
        {StoredChoice("\\\\.\\DISPLAY2", "1024", "16"),
         kSecondDisplayLines +
             std::string(
                 "\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"16\"\n"),
         L""},
        {"\"Other\" \"kept\"\n", kFirstDisplayLines, L""},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.stored);
        CPropertyPage_Display page(nullptr, CreateFakeDirect3D);
        EXPECT_EQ(page.m_psp.dwFlags & PSP_HASHELP, 0u);
        page.GetCatalogue().AddRenderer(L"DRAV.exe");
        page.GetCatalogue().ChooseDefaults();
        CSettingsFile settings = StoredSettings(test.stored);
        page.ApplyStoredSettings(settings);
        EXPECT_EQ(page.GetSettingsText(), test.lines);
        const ResolutionInfo* chosen =
            page.GetCatalogue().GetChosenRenderer()->GetChosenDisplay()->GetChosenResolution();
        EXPECT_EQ(chosen ? chosen->GetLabel() : L"", test.chosen);
        EXPECT_EQ(settings.Tokens().size(), test.stored.rfind("\"Other\"", 0) == 0 ? 2u : 0u)
            << "the display keys are taken out";
    }
}

TEST(DisplayPage, AChosenResolutionReplacesTheStoredOne)
{
    FakeDirect3D direct3D(TwoAdapters());
    CPropertyPage_Display page(nullptr, CreateFakeDirect3D);
    page.GetCatalogue().AddRenderer(L"DRAV.exe");
    page.GetCatalogue().ChooseDefaults();
    CSettingsFile settings = StoredSettings(StoredChoice("\\\\.\\DISPLAY1", "1024", "16"));
    COwnedSettingsSync sync(page);
    sync.Load(settings);

    ASSERT_TRUE(page.GetCatalogue().GetChosenRenderer()->GetChosenDisplay()->SelectResolution(
        1024, 768, 32));
    const std::string chosen =
        kFirstDisplayLines +
        std::string("\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n");
    EXPECT_EQ(page.GetSettingsText(), chosen);

    // Also one that another program stored since, of a size the display has.
    CSettingsFile newer =
        StoredSettings("\"ScreenWidth\" \"640\"\n\"ScreenHeight\" \"480\"\n\"BitDepth\" \"32\"\n");
    sync.Merge(newer);
    EXPECT_EQ(page.GetSettingsText(), chosen);
}

TEST(DisplayPage, ASizeAnotherProgramStoredThatTheDisplayLacksIsKeptAsStored)
{
    FakeDirect3D direct3D(TwoAdapters());
    CPropertyPage_Display page(nullptr, CreateFakeDirect3D);
    page.GetCatalogue().AddRenderer(L"DRAV.exe");
    page.GetCatalogue().ChooseDefaults();
    CSettingsFile settings = StoredSettings(StoredChoice("\\\\.\\DISPLAY1", "1024", "32"));
    COwnedSettingsSync sync(page);
    sync.Load(settings);

    const std::string lacking = StoredChoice("\\\\.\\DISPLAY1", "1024", "16");
    CSettingsFile newer = StoredSettings(lacking);
    sync.Merge(newer);
    EXPECT_EQ(page.GetSettingsText(), kFirstDisplayLines + lacking.substr(lacking.find('\n') + 1));
}

TEST(DisplayPage, ADescriptionWithQuotesIsSavedSoThatEveryPairKeepsItsPartner)
{
    FakeDirect3D direct3D(TwoAdapters());
    CPropertyPage_Display page(nullptr, CreateFakeDirect3D);
    page.GetCatalogue().AddRenderer(L"DRAV.exe");
    page.GetCatalogue().ChooseDefaults();
    CSettingsFile stored =
        StoredSettings(StoredChoice("\\\\.\\DISPLAY2", "1024", "32") + "\"Other\" \"kept\"\n");
    page.ApplyStoredSettings(stored);

    TempFolder folder;
    const std::string path = folder / "settings.cfg";
    const std::string text = page.GetSettingsText() + FormatRemainingPairs(stored);
    ASSERT_EQ(WriteSettingsFile(path, text), SettingsWriteResult::Written);
    CSettingsFile saved = CSettingsFile::Load(path.c_str());
    EXPECT_EQ(saved.TakeString("Renderer", ""), "Card 'B'");
    EXPECT_EQ(saved.TakeString("ScreenWidth", ""), "1024");
    EXPECT_EQ(saved.TakeString("Other", ""), "kept");
}

// With nothing to choose from (no Direct3D, or no usable adapter) the page writes nothing and
// leaves the stored display keys in the store, so that a save writes them back instead of
// losing them.
TEST(DisplayPage, StoredChoiceSurvivesARunWithNothingToChooseFrom)
{
    FakeDirect3D noAdapters;
    for (Direct3DFactory factory : {CreateNoDirect3D, CreateFakeDirect3D})
    {
        CPropertyPage_Display page(nullptr, factory);
        page.GetCatalogue().AddRenderer(L"DRAV.exe");
        page.GetCatalogue().ChooseDefaults();
        CSettingsFile settings = StoredSettings(StoredChoice("\\\\.\\DISPLAY1", "1024", "32"));
        page.ApplyStoredSettings(settings);
        EXPECT_EQ(settings.Tokens().size(), 8u);
        EXPECT_EQ(page.GetSettingsText(), "");
    }
}

// The page in a sheet of its own, so that the catalogue can stand on fake adapters, opened in
// a working folder that holds a game executable.
TEST(DisplayPage, ListsShowFallbacksAndSelectionsBecomeChoices)
{
    TempFolder working;
    working.WriteFile("DRAV.exe", "any content: only the name is looked for");
    ScopedCurrentDirectory inWorking(working.Path());
    FakeDirect3D direct3D(TwoAdapters());
    CStringDatabase database(TestDatabasePath().c_str());
    CPropertyPage_Display page(&database, CreateFakeDirect3D);
    CPropertySheet sheet(L"Display page");
    sheet.AddPage(&page);
    const HWND hwnd = sheet.Create();
    ASSERT_NE(hwnd, nullptr);
    PumpMessages(hwnd);
    const HWND pageHwnd = page.GetSafeHwnd();
    const HWND apply = GetDlgItem(hwnd, ID_APPLY_NOW);

    // First run: the first adapter and its first line are shown, but no resolution is chosen.
    EXPECT_EQ(SelectedLine(pageHwnd, IDC_LIST_RENDERERS), L"DX9 Renderer");
    EXPECT_EQ(SelectedLine(pageHwnd, IDC_LIST_DISPLAYS), L"Card A (\\\\.\\DISPLAY1)");
    EXPECT_EQ(SelectedLine(pageHwnd, IDC_LIST_RESOLUTIONS), L"640 x 480 x 32");
    EXPECT_EQ(page.GetSettingsText(), kFirstDisplayLines);
    EXPECT_FALSE(IsWindowEnabled(apply));

    // Another display refills the resolutions, and their fallback line becomes the choice.
    ASSERT_TRUE(SelectLine(pageHwnd, IDC_LIST_DISPLAYS, L"Card \"B\" (\\\\.\\DISPLAY2)"));
    EXPECT_EQ(SendDlgItemMessageW(pageHwnd, IDC_LIST_RESOLUTIONS, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SelectedLine(pageHwnd, IDC_LIST_RESOLUTIONS), L"800 x 600 x 32");
    EXPECT_TRUE(IsWindowEnabled(apply));
    ASSERT_TRUE(SelectLine(pageHwnd, IDC_LIST_RESOLUTIONS, L"* 1280 x 1024 x 32"));
    EXPECT_EQ(page.GetSettingsText(),
              kSecondDisplayLines +
                  std::string("\"ScreenWidth\" \"1280\"\n\"ScreenHeight\" \"1024\"\n"
                              "\"BitDepth\" \"32\"\n"));

    // A change the catalogue cannot take (no renderer line selected) still enables Apply.
    page.SetModified(FALSE);
    SendDlgItemMessageW(pageHwnd, IDC_LIST_RENDERERS, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(pageHwnd, WM_COMMAND, MAKEWPARAM(IDC_LIST_RENDERERS, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(pageHwnd, IDC_LIST_RENDERERS)));
    EXPECT_TRUE(IsWindowEnabled(apply));
}
