#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

// Drives a running launcher from another process, through its windows only, the way a
// player would: it finds the property sheet, reads captions and lists, switches tabs,
// presses buttons and answers message boxes.
class LauncherDriver
{
public:
    LauncherDriver() = default;
    ~LauncherDriver();
    LauncherDriver(const LauncherDriver&) = delete;
    LauncherDriver& operator=(const LauncherDriver&) = delete;

    // Starts `executable` (a launcher started before is forgotten) with `workingFolder` as its
    // current directory and waits until its property sheet is shown, which it is only once its
    // captions are set and settings.cfg is loaded. False when the process cannot be started or
    // shows no sheet.
    bool Start(const std::wstring& executable, const std::wstring& workingFolder);

    // The sheet's window (null before Start succeeded).
    HWND Sheet() const { return m_sheet; }
    std::wstring Title() const { return TextOf(m_sheet); }
    std::vector<std::wstring> TabCaptions() const;
    // The button row's control with this id (IDOK, IDCANCEL, IDHELP, 0x3021 for Apply).
    HWND Button(int id) const { return GetDlgItem(m_sheet, id); }

    // Shows page `index` and waits until it is the current page.
    bool SelectTab(int index);
    // The current page's child control with this id.
    HWND PageControl(int id) const;

    // Clicks a button without waiting for what the click starts (a message box would
    // otherwise block the call).
    void Click(HWND button) const;
    // Selects line `index` of a list box and tells the page, as a mouse click would.
    bool SelectListLine(HWND list, int index) const;
    // Ticks a check box and tells the page, as a mouse click would. False when the box stays
    // clear. (A BM_CLICK sent from this process sometimes left the box clear under Wine.)
    bool Tick(HWND box) const;

    // Types `key` through the system's keyboard input, as a player does, holding `modifiers`
    // (VK_CONTROL, VK_MENU, VK_SHIFT) down around it. The input goes to the active window,
    // which is the sheet while the launcher is in front. False when the system did not take
    // all of it.
    bool PressKey(WORD key, std::initializer_list<WORD> modifiers = {}) const;
    // The launcher's window that has the keyboard focus; null when none has.
    HWND FocusedWindow() const;

    // Waits for a message box of the launcher and returns it (null after the timeout).
    HWND WaitForMessageBox(DWORD timeoutMs) const;
    // The message text of a message box.
    std::wstring MessageBoxText(HWND box) const;
    // Presses the message box's OK button and waits until the box is gone; false when it
    // stays.
    bool DismissMessageBox(HWND box) const;
    // True when the launcher has finished what it was doing (for example the press that
    // showed a message box that was just dismissed) and its sheet is still open.
    bool StaysOpen() const;

    // Waits for the launcher to end; true when it ended within the timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
    // Ends a launcher that is still running.
    void Terminate();

    static std::wstring TextOf(HWND window);
    static std::vector<std::wstring> ListLines(HWND list);
    static int ListSelection(HWND list);

private:
    HWND FindSheet() const;
    void CloseProcessHandles();

    PROCESS_INFORMATION m_process = {};
    HWND m_sheet = nullptr;
};
