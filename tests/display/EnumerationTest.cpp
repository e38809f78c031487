#include "display/Direct3DStart.h"
#include "display/RendererInfo.h"

#include "tests/display/FakeDirect3D.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<DisplayInfo*> Displays(RendererInfo& renderer)
{
    std::vector<DisplayInfo*> displays;
    for (DisplayInfo* display = renderer.FirstDisplay(); display != nullptr;
         display = renderer.NextDisplay())
        displays.push_back(display);
    return displays;
}

std::vector<std::wstring> ResolutionLabels(DisplayInfo& display)
{
    std::vector<std::wstring> labels;
    for (ResolutionInfo* resolution = display.FirstResolution(); resolution != nullptr;
         resolution = display.NextResolution())
        labels.push_back(resolution->GetLabel());
    return labels;
}

FakeMode Mode(UINT width, UINT height, UINT refreshRate = 60, D3DFORMAT format = D3DFMT_X8R8G8B8)
{
    return FakeMode{width, height, refreshRate, format};
}

// Runs one enumeration against `fake` and checks that it took and gave back its object.
void Enumerate(RendererInfo& renderer, FakeDirect3D& fake)
{
    EXPECT_TRUE(renderer.EnumerateDisplays(L"DRAV.exe", CreateFakeDirect3D));
    EXPECT_EQ(1, fake.Creations());
    EXPECT_EQ(0u, fake.References()) << "the Direct3D object was not released";
    EXPECT_FALSE(fake.OtherFormatAsked());
}
} // namespace

TEST(EnumerationTest, EachAdapterWithUsableModesBecomesADisplayInAdapterOrder)
{
    FakeDirect3D fake({{"\\\\.\\DISPLAY1", "Card A", {Mode(800, 600), Mode(640, 480)}},
                       {"\\\\.\\DISPLAY2", "Card B", {Mode(320, 200)}},
                       {"\\\\.\\DISPLAY3", "Card C", {Mode(1280, 1024), Mode(1024, 768)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    const std::vector<DisplayInfo*> displays = Displays(renderer);
    ASSERT_EQ(2u, displays.size());
    EXPECT_EQ(L"\\\\.\\DISPLAY1", displays[0]->GetDeviceName());
    EXPECT_EQ(L"Card A", displays[0]->GetDescription());
    EXPECT_EQ((std::vector<std::wstring>{L"800 x 600 x 32", L"640 x 480 x 32"}),
              ResolutionLabels(*displays[0]));
    EXPECT_EQ(L"\\\\.\\DISPLAY3", displays[1]->GetDeviceName());
    EXPECT_EQ((std::vector<std::wstring>{L"* 1280 x 1024 x 32", L"1024 x 768 x 32"}),
              ResolutionLabels(*displays[1]));

    EXPECT_EQ(nullptr, renderer.GetChosenDisplay());
    EXPECT_EQ(nullptr, displays[0]->GetChosenResolution());
}

TEST(EnumerationTest, KeepsOnlyX8R8G8B8ModesOfAtLeast640x480WithRefreshRatesFolded)
{
    FakeDirect3D fake(
        {{"\\\\.\\DISPLAY1",
          "Card",
          {Mode(639, 480), Mode(640, 479), Mode(640, 480), Mode(1024, 768, 60), Mode(1024, 768, 75),
           Mode(800, 600, 60, D3DFMT_R5G6B5), Mode(1152, 864, 60, D3DFMT_A8R8G8B8),
           Mode(1024, 768, 85), Mode(1600, 1200, 60, D3DFMT_X1R5G5B5)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    DisplayInfo* display = renderer.FindDisplay(L"\\\\.\\DISPLAY1");
    ASSERT_NE(nullptr, display);
    EXPECT_EQ((std::vector<std::wstring>{L"640 x 480 x 32", L"1024 x 768 x 32"}),
              ResolutionLabels(*display));
    ResolutionInfo* resolution = display->FindResolution(1024, 768, 32);
    ASSERT_NE(nullptr, resolution);
    EXPECT_EQ(1024, resolution->GetWidth());
    EXPECT_EQ(768, resolution->GetHeight());
    EXPECT_EQ(32, resolution->GetBitDepth());
}

TEST(EnumerationTest, OrdinalsSharingADeviceNameMakeOneDisplayWithTheFirstDescription)
{
    FakeDirect3D fake({{"\\\\.\\DISPLAY1", "Head one", {Mode(800, 600), Mode(640, 480)}},
                       {"\\\\.\\DISPLAY1", "Head two", {Mode(640, 480), Mode(1024, 768)}},
                       // Without a usable mode the first adapter gives no description.
                       {"\\\\.\\DISPLAY2", "Unused head", {Mode(320, 240)}},
                       {"\\\\.\\DISPLAY2", "Used head", {Mode(800, 600)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    const std::vector<DisplayInfo*> displays = Displays(renderer);
    ASSERT_EQ(2u, displays.size());
    EXPECT_EQ(L"Head one", displays[0]->GetDescription());
    EXPECT_EQ((std::vector<std::wstring>{L"800 x 600 x 32", L"640 x 480 x 32", L"1024 x 768 x 32"}),
              ResolutionLabels(*displays[0]));
    EXPECT_EQ(L"Used head", displays[1]->GetDescription());
}

TEST(EnumerationTest, DeviceNamesDifferingInCaseAreDifferentDisplays)
{
    FakeDirect3D fake({{"\\\\.\\DISPLAY1", "Upper", {Mode(640, 480)}},
                       {"\\\\.\\display1", "Lower", {Mode(800, 600)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    ASSERT_EQ(2u, Displays(renderer).size());
    EXPECT_EQ(L"Upper", renderer.FindDisplay(L"\\\\.\\DISPLAY1")->GetDescription());
    EXPECT_EQ(L"Lower", renderer.FindDisplay(L"\\\\.\\display1")->GetDescription());
}

TEST(EnumerationTest, AdaptersWithoutNameOrDescriptionContributeNothing)
{
    FakeDirect3D fake({{"\\\\.\\DISPLAY1", "", {Mode(640, 480)}},
                       {"", "Nameless", {Mode(640, 480)}},
                       {"\\\\.\\DISPLAY3", "Card", {Mode(640, 480)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    const std::vector<DisplayInfo*> displays = Displays(renderer);
    ASSERT_EQ(1u, displays.size());
    EXPECT_EQ(L"\\\\.\\DISPLAY3", displays[0]->GetDeviceName());
}

TEST(EnumerationTest, DataOfFailedCallsIsNotTaken)
{
    FakeAdapter failingIdentifier{"\\\\.\\DISPLAY1", "Broken", {Mode(640, 480)}};
    failingIdentifier.identifierFails = true;
    FakeAdapter failingMode{"\\\\.\\DISPLAY2", "Card", {Mode(800, 600), Mode(1024, 768)}};
    failingMode.modes[0].fails = true;
    FakeDirect3D fake({failingIdentifier, failingMode});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    const std::vector<DisplayInfo*> displays = Displays(renderer);
    ASSERT_EQ(1u, displays.size());
    EXPECT_EQ(L"\\\\.\\DISPLAY2", displays[0]->GetDeviceName());
    EXPECT_EQ(std::vector<std::wstring>{L"1024 x 768 x 32"}, ResolutionLabels(*displays[0]));
}

TEST(EnumerationTest, IdentifierFieldsFilledToTheirEndAreReadWithinThem)
{
    const std::string deviceName(sizeof(D3DADAPTER_IDENTIFIER9::DeviceName), 'N');
    const std::string description(sizeof(D3DADAPTER_IDENTIFIER9::Description), 'D');
    FakeDirect3D fake({{deviceName, description, {Mode(640, 480)}}});
    RendererInfo renderer;
    Enumerate(renderer, fake);

    DisplayInfo* display = renderer.FirstDisplay();
    ASSERT_NE(nullptr, display);
    EXPECT_EQ(std::wstring(deviceName.begin(), deviceName.end()), display->GetDeviceName());
    EXPECT_EQ(std::wstring(description.begin(), description.end()), display->GetDescription());
}

TEST(EnumerationTest, FailsWithoutDirect3D)
{
    RendererInfo renderer;
    EXPECT_FALSE(renderer.EnumerateDisplays(L"DRAV.exe", CreateNoDirect3D));
    EXPECT_EQ(nullptr, renderer.FirstDisplay());
}

TEST(EnumerationTest, NoAdaptersGiveAnEmptyRenderer)
{
    FakeDirect3D fake;
    RendererInfo renderer;
    Enumerate(renderer, fake);
    EXPECT_EQ(nullptr, renderer.FirstDisplay());
}

// The system's own Direct3D 9 (Wine's, on the virtual screen) lists the screen's own size:
// the object started on a thread of its own while the program starts, and one made after it.
TEST(EnumerationTest, SystemDirect3DListsTheScreenSize)
{
    CDirect3DStart start;
    for (const char* object : {"started early", "made after it"})
    {
        SCOPED_TRACE(object);
        RendererInfo renderer;
        ASSERT_TRUE(renderer.EnumerateDisplays(L"DRAV.exe"));

        DisplayInfo* first = renderer.FirstDisplay();
        ASSERT_NE(nullptr, first) << "no adapter with a usable mode";
        EXPECT_FALSE(first->GetDeviceName().empty());
        EXPECT_FALSE(first->GetDescription().empty());

        const int width = GetSystemMetrics(SM_CXSCREEN);
        const int height = GetSystemMetrics(SM_CYSCREEN);
        bool found = false;
        for (DisplayInfo* display = renderer.FirstDisplay(); display != nullptr;
             display = renderer.NextDisplay())
            found = found || display->FindResolution(width, height, 32) != nullptr;
        EXPECT_TRUE(found) << width << " x " << height << " x 32 is not listed";
    }
}
