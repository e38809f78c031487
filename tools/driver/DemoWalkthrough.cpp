// ConfigDriver: plays a player's visit to the launcher on a screen nobody watches.
//
//   ConfigDriver <launcher exe> <folder for screenshots>
//
// Starts the launcher in the current directory, chooses the first resolution and ticks
// "Disable Music", saves a screenshot of each page (display.bmp, options.bmp), presses OK
// and waits for the launcher to end. Message boxes are reported and answered; if the
// launcher stays open after one, Cancel closes it.
#include "tools/driver/LauncherDriver.h"
#include "tools/driver/ScreenCapture.h"
#include "tools/driver/WaitUntil.h"

#include <cstdio>
#include <string>

namespace
{
const DWORD kExitTimeoutMs = 20000;
const int kResolutionList = 1002;
const int kDisableMusicBox = 1003;

void Say(const std::wstring& text)
{
    wprintf(L"ConfigDriver: %ls\n", text.c_str());
    fflush(stdout);
}

void SaveShot(const LauncherDriver& driver, const std::wstring& path)
{
    Say((SaveClientImage(driver.Sheet(), path) ? L"saved " : L"could not save ") + path);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
    {
        fwprintf(stderr, L"usage: ConfigDriver <launcher exe> <folder for screenshots>\n");
        return 2;
    }
    const std::wstring launcher = argv[1];
    const std::wstring shots = argv[2];

    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);

    LauncherDriver driver;
    if (!driver.Start(launcher, current))
    {
        Say(L"the launcher did not show its window");
        return 1;
    }
    Say(L"window \"" + driver.Title() + L"\" is open");

    // A player's choices: the first resolution of the list, and no music.
    if (driver.SelectListLine(driver.PageControl(kResolutionList), 0))
        Say(L"chose the resolution " +
            LauncherDriver::ListLines(driver.PageControl(kResolutionList))[0]);
    SaveShot(driver, shots + L"\\display.bmp");
    driver.SelectTab(1);
    const HWND music = driver.PageControl(kDisableMusicBox);
    Say((driver.Tick(music) ? L"ticked \"" : L"could not tick \"") + LauncherDriver::TextOf(music) +
        L"\"");
    SaveShot(driver, shots + L"\\options.bmp");
    driver.SelectTab(0);

    Say(L"pressing OK");
    driver.Click(driver.Button(IDOK));
    HWND box = nullptr;
    const auto closedOrAsking = [&]
    { return driver.WaitForExit(0) || (box = driver.WaitForMessageBox(0)) != nullptr; };
    if (!WaitUntil(closedOrAsking, kExitTimeoutMs))
    {
        Say(L"the launcher did not close");
        driver.Terminate();
        return 1;
    }
    if (!box)
    {
        Say(L"the launcher has closed");
        return 0;
    }
    Say(L"message box: " + driver.MessageBoxText(box));
    driver.DismissMessageBox(box);
    Say(L"pressing Cancel");
    driver.Click(driver.Button(IDCANCEL));
    if (!driver.WaitForExit(kExitTimeoutMs))
        driver.Terminate();
    return 1;
}
