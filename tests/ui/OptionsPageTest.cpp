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
    EXPECT_EQ(page.m_bDisableSound, 0);
    EXPECT_EQ(page.m_bDisableMusic, 1);
    EXPECT_EQ(page.m_bRestoreDefaults, 1) << "the first of two pairs counts";
    EXPECT_EQ(settings.Tokens(), (std::list<std::string>{"Other", "kept", "RestoreDefaults", "0"}));
    // The fixed order, whatever the stored order was.
    EXPECT_EQ(page.GetSettingsText(),
              "\"RestoreDefaults\" \"1\"\n\"MusicEnable\" \"0\"\n\"DisableMovies\" \"1\"\n");

    for (const char* stored : {"", "\"MusicEnable\" \"1\"\n"})
    {
        CSettingsFile musicOn = StoredSettings(stored);
        page.ApplyStoredSettings(musicOn);
        EXPECT_EQ(page.m_bDisableMusic, 0);
        EXPECT_EQ(page.GetSettingsText(), "") << "clear switches write nothing";
    }
}

TEST(OptionsPage, WritesEverySetFlagInTheFixedOrder)
{
    CPropertyPage_Options page(nullptr);
    for (int* flag : {&page.m_bDisableHardwareSound, &page.m_bDisableSoundFilters,
                      &page.m_bDisableMovies, &page.m_bDisableJoysticks, &page.m_bDisableMusic,
                      &page.m_bDisableSound, &page.m_bRestoreDefaults})
        *flag = 1;
    EXPECT_EQ(page.GetSettingsText(),
              "\"RestoreDefaults\" \"1\"\n\"DisableSound\" \"1\"\n\"MusicEnable\" \"0\"\n"
              "\"DisableJoystick\" \"1\"\n\"DisableMovies\" \"1\"\n"
              "\"DisableSoundFilters\" \"1\"\n\"DisableHardwareSound\" \"1\"\n");
}
