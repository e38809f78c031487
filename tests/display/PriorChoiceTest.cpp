#include "display/DisplayCatalogue.h"

#include "tests/display/HandFilledCatalogue.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// A settings.cfg in a temporary working folder, read back into a hand-made catalogue whose
// first display has 640 x 480, 800 x 600 and 1024 x 768 and whose second display has
// 1280 x 1024, all at 32 bits.
class PriorChoiceTest : public testing::Test
{
protected:
    PriorChoiceTest()
    {
        renderer = hand.AddRenderer();
        first = renderer->AddDisplay(L"\\\\.\\DISPLAY1", L"First card");
        first->AddResolution(640, 480, 32);
        first->AddResolution(800, 600, 32);
        first->AddResolution(1024, 768, 32);
        second = renderer->AddDisplay(L"\\\\.\\DISPLAY2", L"Second card");
        second->AddResolution(1280, 1024, 32);
    }

    // Writes settings.cfg, reads it back and answers what the first display chose, as
    // "W x H x D" or "none".
    std::string Choose(const std::string& content)
    {
        m_work.WriteFile("settings.cfg", content);
        EXPECT_TRUE(hand.catalogue.ReadPriorChoice(L"settings.cfg"));
        const ResolutionInfo* chosen = first->GetChosenResolution();
        if (chosen == nullptr)
            return "none";
        return std::to_string(chosen->GetWidth()) + " x " + std::to_string(chosen->GetHeight()) +
               " x " + std::to_string(chosen->GetBitDepth());
    }

    TempFolder m_work;
    ScopedCurrentDirectory m_inWork{m_work.Path()};
    HandFilledCatalogue hand;
    RendererInfo* renderer = nullptr;
    DisplayInfo* first = nullptr;
    DisplayInfo* second = nullptr;
};
} // namespace

TEST_F(PriorChoiceTest, ChoosesTheStoredSizeOnTheFirstDisplay)
{
    EXPECT_EQ("1024 x 768 x 32", Choose("\"DisableSound\" \"0\"\r\n\"ScreenWidth\" \"1024\"\r\n"
                                        "\"ScreenHeight\" \"768\"\r\n\"BitDepth\" \"32\"\r\n"));
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());
    // The renderer's chosen display is not touched.
    EXPECT_EQ(nullptr, renderer->GetChosenDisplay());
}

TEST_F(PriorChoiceTest, ChoosesNothingForAnotherBitDepth)
{
    EXPECT_EQ("none", Choose("\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n"
                             "\"BitDepth\" \"16\"\n"));
    EXPECT_EQ(renderer, hand.catalogue.GetChosenRenderer());
}

TEST_F(PriorChoiceTest, KeysMatchInAnyCaseWithOrWithoutQuotes)
{
    EXPECT_EQ("800 x 600 x 32", Choose("screenwidth 800\nSCREENHEIGHT \"600\"\n"
                                       "\"bitDepth\"  \t \"32\"\n"));
}

TEST_F(PriorChoiceTest, MissingKeysKeepTheStartValues)
{
    EXPECT_EQ("640 x 480 x 32", Choose("\"ScreenHeight\" \"480\"\n\"BitDepth\" \"32\"\n"));
    first->SetChosenResolution(nullptr);
    // Without a bit depth the start value 16 matches nothing.
    EXPECT_EQ("none", Choose("\"ScreenWidth\" \"640\"\n\"ScreenHeight\" \"480\"\n"));
}

TEST_F(PriorChoiceTest, LaterLinesCountOnlyUntilAllFourKeysWereSeen)
{
    EXPECT_EQ("800 x 600 x 32", Choose("\"ScreenWidth\" \"640\"\n\"ScreenWidth\" \"800\"\n"
                                       "\"ScreenHeight\" \"600\"\n\"BitDepth\" \"32\"\n"));
    EXPECT_EQ("1024 x 768 x 32", Choose("\"ScreenWidth\" \"800\"\n\"ScreenHeight\" \"768\"\n"
                                        "\"BitDepth\" \"32\"\n\"ScreenWidth\" \"1024\"\n"));
    EXPECT_EQ("800 x 600 x 32",
              Choose("\"DeviceName\" \"\\\\.\\DISPLAY1\"\n\"ScreenWidth\" \"800\"\n"
                     "\"ScreenHeight\" \"600\"\n\"BitDepth\" \"32\"\n\"ScreenWidth\" \"1024\"\n"));
}

TEST_F(PriorChoiceTest, TheStoredDeviceNameDoesNotMatter)
{
    EXPECT_EQ("none", Choose("\"DeviceName\" \"\\\\.\\DISPLAY2\"\n\"ScreenWidth\" \"1280\"\n"
                             "\"ScreenHeight\" \"1024\"\n\"BitDepth\" \"32\"\n"));
    EXPECT_EQ(nullptr, second->GetChosenResolution());
    EXPECT_EQ("1024 x 768 x 32", Choose("\"DeviceName\" \"\\\\.\\DISPLAY2\"\n"
                                        "\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n"
                                        "\"BitDepth\" \"32\"\n"));
}

TEST_F(PriorChoiceTest, ValuesThatMatchNothingKeepTheChoice)
{
    first->SelectResolution(800, 600, 32);
    EXPECT_EQ("800 x 600 x 32", Choose("\"ScreenWidth\" \"wide\"\n\"ScreenHeight\" \"768\"\n"
                                       "\"BitDepth\" \"32\"\n"));
    EXPECT_EQ("800 x 600 x 32", Choose("\"ScreenWidth\" \"\"\n\"ScreenHeight\" \"768\"\n"
                                       "\"BitDepth\" \"32\"\n"));
}

TEST_F(PriorChoiceTest, LongLinesArriveInPiecesOf511Bytes)
{
    const std::string longDeviceName(600, 'N');
    EXPECT_EQ(
        "1024 x 768 x 32",
        Choose("\"DeviceName\" \"" + longDeviceName +
               "\"\n\"ScreenWidth\" \"1024\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n"));

    // The piece after the first 511 bytes is scanned like a line of its own.
    const std::string filler = "\"Comment\" \"" + std::string(511 - 11, 'x');
    ASSERT_EQ(511u, filler.size());
    EXPECT_EQ("800 x 600 x 32",
              Choose(filler + "ScreenWidth 800\n\"ScreenHeight\" \"600\"\n\"BitDepth\" \"32\"\n"));
}

TEST_F(PriorChoiceTest, ValuesAreCutTo63Characters)
{
    const std::string fits = std::string(59, '0') + "1024";
    ASSERT_EQ(63u, fits.size());
    EXPECT_EQ("1024 x 768 x 32", Choose("\"ScreenWidth\" \"" + fits +
                                        "\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n"));

    // The 64th character is dropped: 0...0102 chooses nothing.
    first->SetChosenResolution(nullptr);
    const std::string tooLong = std::string(60, '0') + "1024";
    EXPECT_EQ("none", Choose("\"ScreenWidth\" \"" + tooLong +
                             "\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n"));

    // Trailing blanks past the cut leave the number whole; the other values are untouched.
    EXPECT_EQ("800 x 600 x 32", Choose("\"ScreenHeight\" \"600\"\n\"ScreenWidth\" \"800" +
                                       std::string(300, ' ') + "\"\n\"BitDepth\" \"32\"\n"));

    // A number too large for an int matches nothing.
    first->SetChosenResolution(nullptr);
    EXPECT_EQ("none", Choose("\"ScreenWidth\" \"" + std::string(63, '9') +
                             "\"\n\"ScreenHeight\" \"768\"\n\"BitDepth\" \"32\"\n"));
}

TEST_F(PriorChoiceTest, MissingFileChoosesNothing)
{
    hand.catalogue.SetChosenRenderer(nullptr);
    EXPECT_FALSE(hand.catalogue.ReadPriorChoice(L"settings.cfg"));
    EXPECT_FALSE(hand.catalogue.ReadPriorChoice(nullptr));
    EXPECT_EQ(nullptr, hand.catalogue.GetChosenRenderer());
    EXPECT_EQ(nullptr, first->GetChosenResolution());
}

TEST(PriorChoiceWithoutRenderersTest, ReadsTheFileAndChoosesNothing)
{
    TempFolder work;
    work.WriteFile("settings.cfg", "\"ScreenWidth\" \"640\"\n\"ScreenHeight\" \"480\"\n"
                                   "\"BitDepth\" \"32\"\n");
    const std::string path = work / "settings.cfg";
    HandFilledCatalogue empty;
    EXPECT_TRUE(empty.catalogue.ReadPriorChoice(std::wstring(path.begin(), path.end()).c_str()));
    EXPECT_EQ(nullptr, empty.catalogue.GetChosenRenderer());
}
