#include "display/DisplayCatalogue.h"
#include "display/ListBoxFill.h"

#include "tests/display/HandFilledCatalogue.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Three real list boxes styled like the Display page's, in a hidden window, and a catalogue
// made by hand: one renderer with three displays whose labels sort differently from their
// adapter order.
class ListBoxTest : public testing::Test
{
protected:
    ListBoxTest()
    {
        m_parent = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                   nullptr, nullptr, nullptr);
        renderers = CreateList(LBS_SORT);
        displays = CreateList(LBS_SORT);
        resolutions = CreateList(0);

        renderer = hand.AddRenderer();
        mid = renderer->AddDisplay(L"\\\\.\\DISPLAY1", L"Mid card");
        zeta = renderer->AddDisplay(L"\\\\.\\DISPLAY2", L"Zeta card");
        alpha = renderer->AddDisplay(L"\\\\.\\DISPLAY3", L"Alpha card");
        mid->AddResolution(1024, 768, 32);
        mid->AddResolution(640, 480, 32);
        mid->AddResolution(800, 600, 32);
        zeta->AddResolution(1280, 1024, 32);
        zeta->AddResolution(1600, 1200, 32);
        alpha->AddResolution(640, 480, 32);
    }

    ~ListBoxTest() override { DestroyWindow(m_parent); }

    HWND CreateList(DWORD extraStyle)
    {
        return CreateWindowExW(0, L"LISTBOX", L"",
                               WS_CHILD | WS_VSCROLL | WS_BORDER | LBS_NOTIFY | extraStyle, 0, 0,
                               100, 100, m_parent, nullptr, nullptr, nullptr);
    }

    static std::vector<std::wstring> Lines(HWND list)
    {
        std::vector<std::wstring> lines;
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line)
        {
            std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, line, 0)),
                              L'\0');
            SendMessageW(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(&text[0]));
            lines.push_back(text);
        }
        return lines;
    }

    static std::wstring SelectedLine(HWND list)
    {
        const LRESULT line = SendMessageW(list, LB_GETCURSEL, 0, 0);
        if (line == LB_ERR)
            return L"(none)";
        return Lines(list)[static_cast<size_t>(line)];
    }

    // What the player does: selects a line by its text.
    static void Pick(HWND list, const wchar_t* text)
    {
        const LRESULT line = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(text));
        ASSERT_NE(LB_ERR, line) << "no line " << testing::PrintToString(std::wstring(text));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(line), 0);
    }

    static void PickRecord(HWND list, const void* record)
    {
        const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT line = 0; line < count; ++line)
            if (SendMessageW(list, LB_GETITEMDATA, line, 0) == reinterpret_cast<LRESULT>(record))
                SendMessageW(list, LB_SETCURSEL, line, 0);
    }

    bool FillLists() { return hand.catalogue.FillLists(renderers, displays, resolutions); }
    bool UpdateFromLists()
    {
        return hand.catalogue.UpdateFromLists(renderers, displays, resolutions);
    }

    HWND m_parent = nullptr;
    HWND renderers = nullptr;
    HWND displays = nullptr;
    HWND resolutions = nullptr;

    HandFilledCatalogue hand;
    RendererInfo* renderer = nullptr;
    DisplayInfo* mid = nullptr;
    DisplayInfo* zeta = nullptr;
    DisplayInfo* alpha = nullptr;
};

const std::vector<std::wstring> kSortedDisplays = {
    L"Alpha card (\\\\.\\DISPLAY3)", L"Mid card (\\\\.\\DISPLAY1)", L"Zeta card (\\\\.\\DISPLAY2)"};
} // namespace

TEST_F(ListBoxTest, FillListsShowsTheChosenEntries)
{
    hand.catalogue.ChooseDefaults();
    mid->SelectResolution(800, 600, 32);

    ASSERT_TRUE(FillLists());
    EXPECT_EQ(std::vector<std::wstring>{L"DX9 Renderer"}, Lines(renderers));
    EXPECT_EQ(L"DX9 Renderer", SelectedLine(renderers));
    EXPECT_EQ(kSortedDisplays, Lines(displays));
    EXPECT_EQ(L"Mid card (\\\\.\\DISPLAY1)", SelectedLine(displays));
    // The resolution list keeps the enumeration's order.
    EXPECT_EQ((std::vector<std::wstring>{L"1024 x 768 x 32", L"640 x 480 x 32", L"800 x 600 x 32"}),
              Lines(resolutions));
    EXPECT_EQ(L"800 x 600 x 32", SelectedLine(resolutions));

    EXPECT_EQ(renderer, GetListSelection(renderers));
    EXPECT_EQ(mid, GetListSelection(displays));
    EXPECT_EQ(mid->FindResolution(800, 600, 32), GetListSelection(resolutions));
}

TEST_F(ListBoxTest, FillListsFallsBackWithoutChangingTheChoice)
{
    // Nothing chosen: first renderer line, last display line in sorted order, first
    // resolution line of that display.
    ASSERT_TRUE(FillLists());
    EXPECT_EQ(L"DX9 Renderer", SelectedLine(renderers));
    EXPECT_EQ(L"Zeta card (\\\\.\\DISPLAY2)", SelectedLine(displays));
    EXPECT_EQ((std::vector<std::wstring>{L"* 1280 x 1024 x 32", L"1600 x 1200 x 32"}),
              Lines(resolutions));
    EXPECT_EQ(L"* 1280 x 1024 x 32", SelectedLine(resolutions));

    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, renderer->GetChosenDisplay());
    EXPECT_EQ(nullptr, zeta->GetChosenResolution());
}

TEST_F(ListBoxTest, EachListFallsBackWhenItsChosenEntryIsNotListed)
{
    RendererInfo* second = hand.AddRenderer();
    hand.catalogue.SetChosenRenderer(second);
    ASSERT_TRUE(hand.catalogue.FillRendererList(renderers));
    EXPECT_EQ(second, GetListSelection(renderers));
    hand.catalogue.SetChosenRenderer(nullptr);
    ASSERT_TRUE(hand.catalogue.FillRendererList(renderers));
    EXPECT_EQ(0, SendMessageW(renderers, LB_GETCURSEL, 0, 0));

    renderer->SelectDisplay(L"\\\\.\\DISPLAY3");
    ASSERT_TRUE(renderer->FillDisplayList(displays));
    EXPECT_EQ(L"Alpha card (\\\\.\\DISPLAY3)", SelectedLine(displays));
    // A chosen display of another renderer is not in this renderer's list.
    second->AddDisplay(L"\\\\.\\DISPLAY9", L"Other card");
    second->SelectDisplay(L"\\\\.\\DISPLAY9");
    ASSERT_TRUE(renderer->FillDisplayList(displays));
    EXPECT_EQ(L"Alpha card (\\\\.\\DISPLAY3)", SelectedLine(displays));
    ASSERT_TRUE(second->FillDisplayList(displays));
    EXPECT_EQ(L"Other card (\\\\.\\DISPLAY9)", SelectedLine(displays));

    mid->SelectResolution(800, 600, 32);
    ASSERT_TRUE(zeta->FillResolutionList(resolutions));
    EXPECT_EQ(L"* 1280 x 1024 x 32", SelectedLine(resolutions));
    EXPECT_EQ(zeta->FindResolution(1280, 1024, 32), GetListSelection(resolutions));
}

TEST_F(ListBoxTest, UpdateFromListsMakesTheShownLinesChosen)
{
    ASSERT_TRUE(FillLists());
    ASSERT_TRUE(UpdateFromLists());
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(zeta, renderer->GetChosenDisplay());
    EXPECT_EQ(zeta->FindResolution(1280, 1024, 32), zeta->GetChosenResolution());
}

TEST_F(ListBoxTest, ChangingTheDisplayRefillsResolutionsAndChoosesTheFallbackLine)
{
    hand.catalogue.ChooseDefaults();
    mid->SelectResolution(800, 600, 32);
    ASSERT_TRUE(FillLists());

    Pick(displays, L"Zeta card (\\\\.\\DISPLAY2)");
    ASSERT_TRUE(UpdateFromLists());
    EXPECT_EQ(zeta, renderer->GetChosenDisplay());
    EXPECT_EQ((std::vector<std::wstring>{L"* 1280 x 1024 x 32", L"1600 x 1200 x 32"}),
              Lines(resolutions));
    EXPECT_EQ(zeta->FindResolution(1280, 1024, 32), zeta->GetChosenResolution());
    // The display left keeps its own choice for when it is picked again.
    EXPECT_EQ(mid->FindResolution(800, 600, 32), mid->GetChosenResolution());

    Pick(resolutions, L"1600 x 1200 x 32");
    ASSERT_TRUE(UpdateFromLists());
    EXPECT_EQ(zeta, renderer->GetChosenDisplay());
    EXPECT_EQ(zeta->FindResolution(1600, 1200, 32), zeta->GetChosenResolution());

    Pick(displays, L"Mid card (\\\\.\\DISPLAY1)");
    ASSERT_TRUE(UpdateFromLists());
    EXPECT_EQ(L"800 x 600 x 32", SelectedLine(resolutions));
    EXPECT_EQ(mid->FindResolution(800, 600, 32), mid->GetChosenResolution());
}

TEST_F(ListBoxTest, ChangingTheRendererRefillsBothLowerLists)
{
    RendererInfo* second = hand.AddRenderer();
    DisplayInfo* other = second->AddDisplay(L"\\\\.\\DISPLAY1", L"Other card");
    other->AddResolution(1152, 864, 32);
    other->AddResolution(1280, 960, 32);
    hand.catalogue.ChooseDefaults();
    ASSERT_TRUE(FillLists());
    ASSERT_EQ(renderer, GetListSelection(renderers));

    // Both lines read "DX9 Renderer"; the player picks the second renderer's.
    PickRecord(renderers, second);
    ASSERT_TRUE(UpdateFromLists());
    EXPECT_EQ(second, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(std::vector<std::wstring>{L"Other card (\\\\.\\DISPLAY1)"}, Lines(displays));
    EXPECT_EQ(other, second->GetChosenDisplay());
    EXPECT_EQ((std::vector<std::wstring>{L"1152 x 864 x 32", L"1280 x 960 x 32"}),
              Lines(resolutions));
    EXPECT_EQ(other->FindResolution(1152, 864, 32), other->GetChosenResolution());
}

TEST_F(ListBoxTest, UpdateFromListsWithoutASelectedRendererChoosesNoneAndFails)
{
    hand.catalogue.ChooseDefaults();
    mid->SelectResolution(800, 600, 32);
    ASSERT_TRUE(FillLists());

    SendMessageW(renderers, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(UpdateFromLists());
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(mid, renderer->GetChosenDisplay());
    EXPECT_EQ(mid->FindResolution(800, 600, 32), mid->GetChosenResolution());
}

TEST_F(ListBoxTest, UpdateFromListsWithoutASelectedDisplayChoosesNoneAndFails)
{
    hand.catalogue.ChooseDefaults();
    ASSERT_TRUE(FillLists());

    SendMessageW(displays, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(UpdateFromLists());
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, renderer->GetChosenDisplay());
}

TEST_F(ListBoxTest, LinesThatShowNoRecordOfTheCatalogueReadAsNoSelection)
{
    HandFilledCatalogue other;
    RendererInfo* foreign = other.AddRenderer();
    SendMessageW(renderers, LB_RESETCONTENT, 0, 0);
    const LRESULT line =
        SendMessageW(renderers, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"DX9 Renderer"));
    SendMessageW(renderers, LB_SETITEMDATA, line, reinterpret_cast<LPARAM>(foreign));
    SendMessageW(renderers, LB_SETCURSEL, line, 0);

    EXPECT_EQ(foreign, GetListSelection(renderers));
    EXPECT_EQ(nullptr, hand.catalogue.GetSelectedRenderer(renderers));
    hand.catalogue.SetChosenRenderer(renderer);
    EXPECT_FALSE(UpdateFromLists());
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, foreign->GetChosenDisplay());
}

TEST_F(ListBoxTest, EmptyCatalogueFillsNothingAndFails)
{
    HandFilledCatalogue empty;
    SendMessageW(displays, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"left alone"));
    EXPECT_FALSE(empty.catalogue.FillLists(renderers, displays, resolutions));
    EXPECT_TRUE(Lines(renderers).empty());
    EXPECT_EQ(std::vector<std::wstring>{L"left alone"}, Lines(displays));
    EXPECT_FALSE(empty.catalogue.UpdateFromLists(renderers, displays, resolutions));
}

TEST_F(ListBoxTest, NullHandlesFail)
{
    hand.catalogue.ChooseDefaults();
    EXPECT_FALSE(hand.catalogue.FillLists(nullptr, displays, resolutions));
    EXPECT_FALSE(hand.catalogue.FillLists(renderers, nullptr, resolutions));
    EXPECT_FALSE(hand.catalogue.FillLists(renderers, displays, nullptr));
    EXPECT_TRUE(Lines(renderers).empty());
    EXPECT_FALSE(hand.catalogue.UpdateFromLists(nullptr, displays, resolutions));
    EXPECT_FALSE(hand.catalogue.UpdateFromLists(renderers, nullptr, resolutions));
    EXPECT_FALSE(hand.catalogue.UpdateFromLists(renderers, displays, nullptr));
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());

    EXPECT_FALSE(hand.catalogue.FillRendererList(nullptr));
    EXPECT_FALSE(renderer->FillDisplayList(nullptr));
    EXPECT_FALSE(mid->FillResolutionList(nullptr));
    EXPECT_FALSE(hand.catalogue.SelectChosenInList(nullptr));
    EXPECT_EQ(nullptr, GetListSelection(nullptr));
}

TEST_F(ListBoxTest, SelectChosenInListFailsWhenTheChosenLineIsMissing)
{
    // Nothing chosen.
    ASSERT_TRUE(renderer->FillDisplayList(displays));
    EXPECT_FALSE(renderer->SelectChosenInList(displays));

    // Chosen, but the list is empty or shows another display's resolutions.
    mid->SelectResolution(640, 480, 32);
    EXPECT_FALSE(mid->SelectChosenInList(resolutions));
    ASSERT_TRUE(alpha->FillResolutionList(resolutions));
    EXPECT_FALSE(mid->SelectChosenInList(resolutions));

    ASSERT_TRUE(mid->FillResolutionList(resolutions));
    SendMessageW(resolutions, LB_SETCURSEL, 0, 0);
    EXPECT_TRUE(mid->SelectChosenInList(resolutions));
    EXPECT_EQ(L"640 x 480 x 32", SelectedLine(resolutions));
}
