#include "ui/PropertyPage_Options.h"

#include "tests/ui/UiTestSupport.h"

#include <gtest/gtest.h>

TEST(OptionsPage, TakesStoredSwitchesOnlyForTheValueOneAndMusicTheOtherWayRound)
{
    CPropertyPage_Options page(nullptr);
    EXPECT_EQ(page.m_psp.dwFlags & PSP_HASHELP, 0u);
    CSettingsFile settings = StoredSettings(
        "\"DisableSound\" \"true\"\n\"DisableMovies\" \"1\"\n\"MusicEnable\" \"0\"\n"
        "\"Other\" \"kept\"\n\"RestoreDefaults\" \"1\"\n\"RestoreDefaults\" \"0\"\n");
    page.ApplyStoredSettings(settings);
    EXPECT_EQ(settings.Tokens(), (std::list<std::string>{"Other", "kept"}));
    // The fixed order, whatever the stored order was; the first of two pairs counts and the
    // second goes, and only the value "1" sets a switch.
    EXPECT_EQ(page.GetSettingsText(),
              "\"RestoreDefaults\" \"1\"\n\"MusicEnable\" \"0\"\n\"DisableMovies\" \"1\"\n");

    for (const char* stored : {"", "\"MusicEnable\" \"1\"\n"})
    {
        CSettingsFile musicOn = StoredSettings(stored);
        page.ApplyStoredSettings(musicOn);
        EXPECT_EQ(page.GetSettingsText(), "") << "clear switches write nothing";
    }
}

TEST(OptionsPage, WritesEverySetFlagInTheFixedOrder)
{
    CPropertyPage_Options page(nullptr);
    CSettingsFile everySwitch = StoredSettings(
        "\"DisableHardwareSound\" \"1\"\n\"DisableSoundFilters\" \"1\"\n\"DisableMovies\" \"1\"\n"
        "\"DisableJoystick\" \"1\"\n\"MusicEnable\" \"0\"\n\"DisableSound\" \"1\"\n"
        "\"RestoreDefaults\" \"1\"\n");
    page.ApplyStoredSettings(everySwitch);
    EXPECT_EQ(page.GetSettingsText(),
              "\"RestoreDefaults\" \"1\"\n\"DisableSound\" \"1\"\n\"MusicEnable\" \"0\"\n"
              "\"DisableJoystick\" \"1\"\n\"DisableMovies\" \"1\"\n"
              "\"DisableSoundFilters\" \"1\"\n\"DisableHardwareSound\" \"1\"\n");
}

TEST(OptionsPage, ASwitchWhoseKeyTheStoreHoldsElsewhereIsWrittenFirstEvenAtItsDefault)
{
    CPropertyPage_Options page(nullptr);
    // The game takes the first token equal to a key, wherever it stands.
    CSettingsFile settings = StoredSettings("\"Note\" \"MusicEnable\"\n\"Keep\" \"me\"\n"
                                            "\"DisableSound\" \"1\"\n\"Also\" \"DisableSound\"\n"
                                            "\"Other\" \"DisableMovies\"\n");
    page.ApplyStoredSettings(settings);
    EXPECT_EQ(page.GetSettingsText(),
              "\"DisableSound\" \"1\"\n\"MusicEnable\" \"1\"\n\"DisableMovies\" \"0\"\n");
}
