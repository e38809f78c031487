#include "standins/game/GameIdentity.h"
#include "standins/game/GameReport.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(GameIdentity, OnlyDravmpExeIsTheFreeEdition)
{
    EXPECT_TRUE(IsFreeEditionExecutable(L"C:\\Games\\DRAV\\DRAVMP.exe"));
    EXPECT_TRUE(IsFreeEditionExecutable(L"c:/games/dravmp.EXE"));
    EXPECT_TRUE(IsFreeEditionExecutable(L"DRAVMP.exe"));
    EXPECT_FALSE(IsFreeEditionExecutable(L"C:\\DRAVMP.exe\\DRAV.exe"));
    EXPECT_FALSE(IsFreeEditionExecutable(L"C:\\Games\\DRAVMP.exe.bak"));
    EXPECT_FALSE(IsFreeEditionExecutable(L"DRAV.exe"));
    EXPECT_FALSE(IsFreeEditionExecutable(L""));
    EXPECT_STREQ("DRAVFree", EditionFolderName(true));
    EXPECT_STREQ("DRAV", EditionFolderName(false));
}

TEST(GameIdentity, ArgumentsFollowTheQuotedOrPlainProgramName)
{
    EXPECT_EQ(L"", ArgumentsAfterProgramName(L""));
    EXPECT_EQ(L"", ArgumentsAfterProgramName(L"DRAV.exe"));
    EXPECT_EQ(L"", ArgumentsAfterProgramName(L"\"C:\\Program Files\\DRAV.exe\"  \t"));
    EXPECT_EQ(L"-window x",
              ArgumentsAfterProgramName(L"\"C:\\Program Files\\DRAV.exe\" -window x"));
    EXPECT_EQ(L"a  b", ArgumentsAfterProgramName(L"C:\\DRAV.exe \t a  b"));
    EXPECT_EQ(L"x", ArgumentsAfterProgramName(L"\"DRAV\"x"));
    EXPECT_EQ(L"", ArgumentsAfterProgramName(L"\"C:\\unterminated name"));
}

TEST(GameReport, ListsTheStartKnownKeysAndTheRestInOrder)
{
    TempFolder folder;
    folder.WriteFile("settings.cfg", "\"DisableSound\" \"1\"\r\n"
                                     "\"Renderer\" \"DX9 Renderer\"\r\n"
                                     "\"Gamma\" \"1.2\"\r\n"
                                     "\"DisableSound\" \"0\"\r\n"
                                     "\"Note\" \"two\tlines\x7F\"\r\n"
                                     "\"BitDepth\" \"\"\r\n"
                                     "\"Lonely\"");
    GameStart start;
    start.commandLine = L"\"C:\\Game\\DRAVMP.exe\" -x";
    start.workingFolder = L"C:\\Game";
    start.executablePath = L"C:\\Game\\DRAVMP.exe";
    start.settingsPath = "C:\\Docs\\Kerrowind\\DRAVFree\\settings.cfg";
    start.settingsFileFound = true;

    const CSettingsFile settings = CSettingsFile::Load((folder / "settings.cfg").c_str());
    EXPECT_EQ("game: DRAVMP.exe\n"
              "edition: free multiplayer\n"
              "edition folder: DRAVFree\n"
              "executable path: C:\\Game\\DRAVMP.exe\n"
              "command line: \"C:\\Game\\DRAVMP.exe\" -x\n"
              "arguments: -x\n"
              "working folder: C:\\Game\n"
              "settings path: C:\\Docs\\Kerrowind\\DRAVFree\\settings.cfg\n"
              "settings file: found\n"
              "RestoreDefaults: (not set)\n"
              "DisableSound: 1\n"
              "MusicEnable: (not set)\n"
              "DisableJoystick: (not set)\n"
              "DisableMovies: (not set)\n"
              "DisableSoundFilters: (not set)\n"
              "DisableHardwareSound: (not set)\n"
              "DeviceName: (not set)\n"
              "Renderer: DX9 Renderer\n"
              "ScreenWidth: (not set)\n"
              "ScreenHeight: (not set)\n"
              "BitDepth: \n"
              "other Gamma: 1.2\n"
              "other DisableSound: 0\n"
              "other Note: two\\x09lines\\x7F\n"
              "unpaired: Lonely\n",
              ComposeGameReport(start, settings));
    EXPECT_EQ(13u, settings.Tokens().size()) << "the caller's store is left as it was";
}

TEST(GameReport, RetailGameWithoutSettingsFolder)
{
    GameStart start;
    start.executablePath = L"C:\\Game\\DRAV.exe";
    const std::string report = ComposeGameReport(start, CSettingsFile());
    EXPECT_NE(std::string::npos, report.find("edition: retail\nedition folder: DRAV\n"));
    EXPECT_NE(std::string::npos, report.find("command line: \narguments: \n"));
    EXPECT_NE(std::string::npos,
              report.find("settings path: (no settings folder)\nsettings file: not found\n"));
    EXPECT_NE(std::string::npos, report.find("BitDepth: (not set)\n"));
    EXPECT_EQ(std::string::npos, report.find("other ")) << report;
}
