#include "tools/driver/LauncherDriver.h"

#include "tools/driver/WaitUntil.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <vector>

namespace
{
const DWORD kStartTimeoutMs = 30000;
const DWORD kAnswerTimeoutMs = 20000;

struct WindowSearch
{
    DWORD processId;
    HWND exclude;
    HWND found;
};

bool IsDialogOf(HWND window, DWORD processId)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    return owner == processId && lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window);
}

BOOL CALLBACK FindDialog(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (window != search->exclude && IsDialogOf(window, search->processId))
    {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindTopLevelDialog(DWORD processId, HWND exclude)
{
    WindowSearch search = {processId, exclude, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param)
{
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0)
    {
        auto* text = reinterpret_cast<std::wstring*>(param);
        const std::wstring piece = LauncherDriver::TextOf(child);
        if (!piece.empty())
            *text += (text->empty() ? L"" : L"\n") + piece;
    }
    return TRUE;
}
} // namespace

LauncherDriver::~LauncherDriver()
{
    CloseProcessHandles();
}

void LauncherDriver::CloseProcessHandles()
{
    if (m_process.hProcess)
        CloseHandle(m_process.hProcess);
    if (m_process.hThread)
        CloseHandle(m_process.hThread);
    m_process = {};
    m_sheet = nullptr;
}

bool LauncherDriver::Start(const std::wstring& executable, const std::wstring& workingFolder)
{
    CloseProcessHandles();
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + executable + L"\"";
    if (!CreateProcessW(executable.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &m_process))
    {
        // Said here: the caller's check sees only false.
        std::fprintf(stderr, "LauncherDriver: CreateProcess failed with error %lu\n",
                     GetLastError());
        return false;
    }

    // The sheet shows itself complete: once it is visible with its first page, its captions
    // are set and settings.cfg is loaded.
    HWND sheet = nullptr;
    const auto shownOrEnded = [&]
    {
        sheet = FindSheet();
        return (sheet && SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) || WaitForExit(0);
    };
    if (!WaitUntil(shownOrEnded, kStartTimeoutMs) || WaitForExit(0))
        return false;
    m_sheet = sheet;
    return true;
}

HWND LauncherDriver::FindSheet() const
{
    return FindTopLevelDialog(m_process.dwProcessId, nullptr);
}

std::vector<std::wstring> LauncherDriver::TabCaptions() const
{
    std::vector<std::wstring> captions;
    const HWND tabs = reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETTABCONTROL, 0, 0));
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    // Tab messages are not marshalled between processes: the item and its text buffer must
    // live in the launcher's own address space.
    const HANDLE process = m_process.hProcess;
    for (int i = 0; i < count; ++i)
    {
        const SIZE_T bytes = sizeof(TCITEMW) + 256 * sizeof(wchar_t);
        void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
        if (!remote)
            break;
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(TCITEMW));
        item.cchTextMax = 256;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(remote));
        wchar_t text[256] = {};
        ReadProcessMemory(process, item.pszText, text, sizeof text - sizeof(wchar_t), nullptr);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
        captions.push_back(text);
    }
    return captions;
}

bool LauncherDriver::SelectTab(int index)
{
    SendMessageW(m_sheet, PSM_SETCURSEL, index, 0);
    const HWND tabs = reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETTABCONTROL, 0, 0));
    return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == index;
}

HWND LauncherDriver::PageControl(int id) const
{
    const HWND page = reinterpret_cast<HWND>(SendMessageW(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    return page ? GetDlgItem(page, id) : nullptr;
}

void LauncherDriver::Click(HWND button) const
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

bool LauncherDriver::SelectListLine(HWND list, int index) const
{
    if (SendMessageW(list, LB_SETCURSEL, index, 0) == LB_ERR)
        return false;
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE);
    SendMessageW(GetParent(list), WM_COMMAND, command, reinterpret_cast<LPARAM>(list));
    return true;
}

bool LauncherDriver::Tick(HWND box) const
{
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    const WPARAM command = MAKEWPARAM(GetDlgCtrlID(box), BN_CLICKED);
    SendMessageW(GetParent(box), WM_COMMAND, command, reinterpret_cast<LPARAM>(box));
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool LauncherDriver::PressKey(WORD key, std::initializer_list<WORD> modifiers) const
{
    std::vector<INPUT> strokes;
    const auto stroke = [&strokes](WORD virtualKey, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = virtualKey;
        input.ki.dwFlags = flags;
        strokes.push_back(input);
    };
    for (WORD modifier : modifiers)
        stroke(modifier, 0);
    stroke(key, 0);
    stroke(key, KEYEVENTF_KEYUP);
    for (auto modifier = modifiers.end(); modifier != modifiers.begin();)
        stroke(*--modifier, KEYEVENTF_KEYUP);
    const UINT count = static_cast<UINT>(strokes.size());
    return SendInput(count, strokes.data(), sizeof(INPUT)) == count;
}

HWND LauncherDriver::FocusedWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(m_sheet, nullptr);
    return thread && GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

HWND LauncherDriver::WaitForMessageBox(DWORD timeoutMs) const
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindTopLevelDialog(m_process.dwProcessId, m_sheet)) != nullptr; },
              timeoutMs);
    return box;
}

std::wstring LauncherDriver::MessageBoxText(HWND box) const
{
    std::wstring text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    return text;
}

bool LauncherDriver::DismissMessageBox(HWND box) const
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitUntil([box] { return !IsWindow(box); }, kAnswerTimeoutMs);
}

bool LauncherDriver::StaysOpen() const
{
    // The launcher answers a message only between its handlers, so the answer comes after
    // everything that was under way when it was sent.
    DWORD_PTR unused = 0;
    return SendMessageTimeoutW(m_sheet, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerTimeoutMs, &unused) &&
           !WaitForExit(0) && SendMessageW(m_sheet, PSM_GETCURRENTPAGEHWND, 0, 0) != 0;
}

bool LauncherDriver::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (WaitForSingleObject(m_process.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode)
        GetExitCodeProcess(m_process.hProcess, exitCode);
    return true;
}

void LauncherDriver::Terminate()
{
    if (m_process.hProcess && !WaitForExit(0))
    {
        TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, INFINITE);
    }
}

std::wstring LauncherDriver::TextOf(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], length + 1));
    return text;
}

std::vector<std::wstring> LauncherDriver::ListLines(HWND list)
{
    std::vector<std::wstring> lines;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
    {
        const int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, i, 0));
        std::wstring line(length + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
        line.resize(length);
        lines.push_back(line);
    }
    return lines;
}

int LauncherDriver::ListSelection(HWND list)
{
    return static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
}
