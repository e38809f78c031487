#include "display/DisplayCatalogue.h"

#include "tests/display/HandFilledCatalogue.h"

#include <gtest/gtest.h>

TEST(LabelTest, OnlyResolutionsOfFourByThreeShapeAreUnmarked)
{
    EXPECT_EQ(L"* 1280 x 1024 x 32", ResolutionInfo(1280, 1024, 32).GetLabel());
    EXPECT_EQ(L"1280 x 960 x 32", ResolutionInfo(1280, 960, 32).GetLabel());
    EXPECT_EQ(L"1600 x 1200 x 32", ResolutionInfo(1600, 1200, 32).GetLabel());
    EXPECT_EQ(L"640 x 480 x 32", ResolutionInfo(640, 480, 32).GetLabel());
    EXPECT_EQ(L"* 1920 x 1080 x 32", ResolutionInfo(1920, 1080, 32).GetLabel());
    // 961 * 4 / 3 truncates to 1281; the one-off neighbours are not 4:3.
    EXPECT_EQ(L"1281 x 961 x 32", ResolutionInfo(1281, 961, 32).GetLabel());
    EXPECT_EQ(L"* 1282 x 961 x 32", ResolutionInfo(1282, 961, 32).GetLabel());
    EXPECT_EQ(L"* 1280 x 961 x 32", ResolutionInfo(1280, 961, 32).GetLabel());
}

TEST(LabelTest, ShapeTestDoesNotOverflowForHugeHeights)
{
    // 2^30 * 4 does not fit in 32 bits; the quotient must still be 1431655765.
    EXPECT_TRUE(ResolutionInfo::IsStandardShape(1431655765, 1073741824));
    EXPECT_FALSE(ResolutionInfo::IsStandardShape(0, 1073741824));
}

TEST(LabelTest, DisplayAndRendererLabels)
{
    EXPECT_EQ(L"Card A (\\\\.\\DISPLAY1)", DisplayInfo(L"\\\\.\\DISPLAY1", L"Card A").GetLabel());
    EXPECT_EQ(L"DX9 Renderer", RendererInfo().GetLabel());
}

TEST(DisplayCatalogueTest, FindRendererAnswersTheFirstRendererForAnyName)
{
    HandFilledCatalogue hand;
    EXPECT_EQ(nullptr, hand.catalogue.FindRenderer(L"DX9 Renderer"));

    RendererInfo* first = hand.AddRenderer();
    RendererInfo* second = hand.AddRenderer();
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(first, hand.catalogue.FindRenderer(L"DX9 Renderer"));
    EXPECT_EQ(first, hand.catalogue.FindRenderer(L""));
    EXPECT_EQ(first, hand.catalogue.FindRenderer(L"Other Renderer"));
    EXPECT_EQ(nullptr, hand.catalogue.FindRenderer(nullptr));
}

TEST(DisplayCatalogueTest, AddRendererFailsWithoutNameOrDirect3D)
{
    HandFilledCatalogue hand;
    EXPECT_EQ(nullptr, hand.catalogue.AddRenderer(nullptr));

    DisplayCatalogue withoutDirect3D(CreateNoDirect3D);
    EXPECT_EQ(nullptr, withoutDirect3D.AddRenderer(L"DRAV.exe"));
    EXPECT_EQ(nullptr, withoutDirect3D.FirstRenderer());
}

TEST(DisplayCatalogueTest, ChooseDefaultsTakesFirstRendererAndFirstDisplaysButNoResolution)
{
    HandFilledCatalogue hand;
    hand.catalogue.ChooseDefaults();
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());

    RendererInfo* first = hand.AddRenderer();
    RendererInfo* second = hand.AddRenderer();
    RendererInfo* withoutDisplays = hand.AddRenderer();
    DisplayInfo* display = first->AddDisplay(L"\\\\.\\DISPLAY1", L"B card");
    display->AddResolution(640, 480, 32);
    first->AddDisplay(L"\\\\.\\DISPLAY2", L"A card");
    DisplayInfo* secondsDisplay = second->AddDisplay(L"\\\\.\\DISPLAY1", L"B card");

    hand.catalogue.ChooseDefaults();
    EXPECT_EQ(first, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(display, first->GetChosenDisplay());
    EXPECT_EQ(secondsDisplay, second->GetChosenDisplay());
    EXPECT_EQ(nullptr, withoutDisplays->GetChosenDisplay());
    EXPECT_EQ(nullptr, display->GetChosenResolution());
}

TEST(DisplayCatalogueTest, ChosenEntriesCanOnlyBeTheCataloguesOwnRecords)
{
    HandFilledCatalogue hand;
    HandFilledCatalogue other;
    RendererInfo* renderer = hand.AddRenderer();
    RendererInfo* foreignRenderer = other.AddRenderer();
    DisplayInfo* display = renderer->AddDisplay(L"\\\\.\\DISPLAY1", L"Card");
    DisplayInfo* foreignDisplay = foreignRenderer->AddDisplay(L"\\\\.\\DISPLAY1", L"Card");
    ResolutionInfo* resolution = display->AddResolution(640, 480, 32);
    ResolutionInfo* foreignResolution = foreignDisplay->AddResolution(640, 480, 32);

    EXPECT_TRUE(hand.catalogue.SetChosenRenderer(renderer));
    EXPECT_FALSE(hand.catalogue.SetChosenRenderer(foreignRenderer));
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());

    EXPECT_TRUE(renderer->SetChosenDisplay(display));
    EXPECT_FALSE(renderer->SetChosenDisplay(foreignDisplay));
    EXPECT_EQ(display, renderer->GetChosenDisplay());

    EXPECT_TRUE(display->SetChosenResolution(resolution));
    EXPECT_FALSE(display->SetChosenResolution(foreignResolution));
    EXPECT_EQ(resolution, display->GetChosenResolution());

    EXPECT_TRUE(display->SetChosenResolution(nullptr));
    EXPECT_TRUE(renderer->SetChosenDisplay(nullptr));
    EXPECT_TRUE(hand.catalogue.SetChosenRenderer(nullptr));
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
}

TEST(DisplayCatalogueTest, ClearDeletesEverythingAndChoosesNone)
{
    HandFilledCatalogue hand;
    RendererInfo* renderer = hand.AddRenderer();
    renderer->AddDisplay(L"\\\\.\\DISPLAY1", L"Card");
    hand.catalogue.ChooseDefaults();

    hand.catalogue.Clear();
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, hand.catalogue.FirstRenderer());
    EXPECT_EQ(nullptr, hand.catalogue.FindRenderer(L"DX9 Renderer"));
}

TEST(RendererInfoTest, AddDisplayNeedsNameAndDescription)
{
    RendererInfo renderer;
    EXPECT_EQ(nullptr, renderer.AddDisplay(nullptr, L"Card"));
    EXPECT_EQ(nullptr, renderer.AddDisplay(L"", L"Card"));
    EXPECT_EQ(nullptr, renderer.AddDisplay(L"\\\\.\\DISPLAY1", nullptr));
    EXPECT_EQ(nullptr, renderer.AddDisplay(L"\\\\.\\DISPLAY1", L""));
    EXPECT_EQ(nullptr, renderer.FirstDisplay());

    DisplayInfo* display = renderer.AddDisplay(L"\\\\.\\DISPLAY1", L"Card");
    ASSERT_NE(nullptr, display);
    EXPECT_EQ(L"\\\\.\\DISPLAY1", display->GetDeviceName());
    EXPECT_EQ(L"Card", display->GetDescription());
    EXPECT_EQ(nullptr, display->FirstResolution());
    EXPECT_EQ(nullptr, display->GetChosenResolution());
}

TEST(RendererInfoTest, FindAndSelectDisplayCompareDeviceNamesExactly)
{
    RendererInfo renderer;
    DisplayInfo* upper = renderer.AddDisplay(L"\\\\.\\DISPLAY1", L"Upper");
    DisplayInfo* lower = renderer.AddDisplay(L"\\\\.\\display1", L"Lower");

    EXPECT_EQ(upper, renderer.FindDisplay(L"\\\\.\\DISPLAY1"));
    EXPECT_EQ(lower, renderer.FindDisplay(L"\\\\.\\display1"));
    EXPECT_EQ(nullptr, renderer.FindDisplay(L"\\\\.\\Display1"));
    EXPECT_EQ(nullptr, renderer.FindDisplay(L"\\\\.\\DISPLAY"));
    EXPECT_EQ(nullptr, renderer.FindDisplay(nullptr));

    EXPECT_TRUE(renderer.SelectDisplay(L"\\\\.\\display1"));
    EXPECT_EQ(lower, renderer.GetChosenDisplay());
    EXPECT_FALSE(renderer.SelectDisplay(L"\\\\.\\DISPLAY9"));
    EXPECT_FALSE(renderer.SelectDisplay(nullptr));
    EXPECT_EQ(lower, renderer.GetChosenDisplay());
}

TEST(RendererInfoTest, WalkGoesThroughDisplaysInOrderWithoutChoosing)
{
    RendererInfo renderer;
    EXPECT_EQ(nullptr, renderer.FirstDisplay());
    EXPECT_EQ(nullptr, renderer.NextDisplay());

    DisplayInfo* first = renderer.AddDisplay(L"\\\\.\\DISPLAY2", L"Z card");
    DisplayInfo* second = renderer.AddDisplay(L"\\\\.\\DISPLAY1", L"A card");
    EXPECT_EQ(first, renderer.FirstDisplay());
    EXPECT_EQ(second, renderer.NextDisplay());
    EXPECT_EQ(nullptr, renderer.NextDisplay());
    EXPECT_EQ(nullptr, renderer.NextDisplay());

    // A new walk starts over and meets a display added while it runs.
    EXPECT_EQ(first, renderer.FirstDisplay());
    DisplayInfo* third = renderer.AddDisplay(L"\\\\.\\DISPLAY3", L"M card");
    EXPECT_EQ(second, renderer.NextDisplay());
    EXPECT_EQ(third, renderer.NextDisplay());
    EXPECT_EQ(nullptr, renderer.NextDisplay());
    EXPECT_EQ(nullptr, renderer.GetChosenDisplay());
}

TEST(RendererInfoTest, ClearDeletesDisplaysAndChoosesNone)
{
    RendererInfo renderer;
    renderer.AddDisplay(L"\\\\.\\DISPLAY1", L"Card");
    renderer.SelectDisplay(L"\\\\.\\DISPLAY1");
    renderer.FirstDisplay();

    renderer.Clear();
    EXPECT_EQ(nullptr, renderer.GetChosenDisplay());
    EXPECT_EQ(nullptr, renderer.NextDisplay());
    EXPECT_EQ(nullptr, renderer.FirstDisplay());
    EXPECT_EQ(nullptr, renderer.FindDisplay(L"\\\\.\\DISPLAY1"));
}

TEST(DisplayInfoTest, FindAndSelectResolutionMatchAllThreeValues)
{
    DisplayInfo display(L"\\\\.\\DISPLAY1", L"Card");
    ResolutionInfo* small = display.AddResolution(640, 480, 32);
    ResolutionInfo* large = display.AddResolution(1024, 768, 32);

    EXPECT_EQ(large, display.FindResolution(1024, 768, 32));
    EXPECT_EQ(nullptr, display.FindResolution(1024, 768, 16));
    EXPECT_EQ(nullptr, display.FindResolution(768, 1024, 32));

    EXPECT_TRUE(display.SelectResolution(640, 480, 32));
    EXPECT_EQ(small, display.GetChosenResolution());
    EXPECT_FALSE(display.SelectResolution(1024, 768, 16));
    EXPECT_FALSE(display.SelectResolution(0, 0, 0));
    EXPECT_EQ(small, display.GetChosenResolution());
}

TEST(DisplayInfoTest, WalkAndClear)
{
    DisplayInfo display(L"\\\\.\\DISPLAY1", L"Card");
    ResolutionInfo* first = display.AddResolution(800, 600, 32);
    ResolutionInfo* second = display.AddResolution(640, 480, 32);
    EXPECT_EQ(first, display.FirstResolution());
    EXPECT_EQ(second, display.NextResolution());
    EXPECT_EQ(nullptr, display.NextResolution());

    display.SelectResolution(800, 600, 32);
    display.FirstResolution();
    display.Clear();
    EXPECT_EQ(nullptr, display.GetChosenResolution());
    EXPECT_EQ(nullptr, display.NextResolution());
    EXPECT_EQ(nullptr, display.FindResolution(800, 600, 32));
    EXPECT_TRUE(display.GetDeviceName().empty());
    EXPECT_EQ(L"Card", display.GetDescription());
}
