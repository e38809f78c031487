// StartupBenchmark: how long the launcher takes to show its sheet, against the floor.
//
//   StartupBenchmark <runs> <raw figures file> <caption> <floor exe> <launcher exe>
//
// Starts each program `runs` times from the current directory, alternating between them
// (floor first in one round, the launcher first in the next), after one start of each that is
// not counted (it fills the caches both share). Each program is started with `caption` as its
// command line: the floor takes it as its sheet's caption; the launcher ignores its command
// line and shows its own title, which must be the same text.
//
// A start is timed from the moment before CreateProcess to the first check that finds a
// top-level dialog window of that process visible (WS_VISIBLE set, as IsWindowVisible tells)
// with `caption` as its title. Windows are checked every millisecond or so. Both programs show
// their sheet only once its start page exists (the launcher also once its captions are set and
// the settings are loaded), so what is found visible is what the player sees first. The sheet
// is then cancelled and the next start waits until the process has ended and a short pause
// has let the system finish its tear-down.
//
// Prints each program's median, fastest and slowest start and the ratio of the medians
// (launcher / floor); writes every start's figure to the raw figures file. Exits 1 when a
// program did not show its sheet within 30 seconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace
{
const DWORD kShowTimeoutMs = 30000;
const DWORD kExitTimeoutMs = 20000;
// Between one program's exit and the next start: Wine and the X server finish the ended
// process's tear-down meanwhile instead of during the next start.
const DWORD kSettleMs = 300;

struct Program
{
    const wchar_t* name;
    std::wstring executable;
    std::vector<double> startsMs;
};

struct SheetSearch
{
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK FindShownSheet(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<SheetSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (lstrcmpW(className, L"#32770") != 0 || *search->caption != title)
        return TRUE;
    search->found = window;
    return FALSE;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Starts `executable`, waits for its sheet, closes it and waits for the process to end. The
// time to the sheet in milliseconds, or a negative value when no sheet showed.
double TimeOneStart(const std::wstring& executable, const std::wstring& caption)
{
    std::wstring commandLine = L"\"" + executable + L"\" " + caption;
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    if (!CreateProcessW(executable.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process))
        return -1;

    SheetSearch search = {process.dwProcessId, &caption, nullptr};
    double elapsed = -1;
    for (;;)
    {
        EnumWindows(FindShownSheet, reinterpret_cast<LPARAM>(&search));
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        if (search.found)
        {
            elapsed = Milliseconds(started, now);
            break;
        }
        if (Milliseconds(started, now) > kShowTimeoutMs ||
            WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }

    if (search.found)
        PostMessageW(GetDlgItem(search.found, IDCANCEL), BM_CLICK, 0, 0);
    if (WaitForSingleObject(process.hProcess, search.found ? kExitTimeoutMs : 0) != WAIT_OBJECT_0)
    {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    Sleep(kSettleMs);
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const int runs = argc == 6 ? _wtoi(argv[1]) : 0;
    if (runs < 1)
    {
        fwprintf(stderr, L"usage: StartupBenchmark <runs> <raw figures file> <caption> "
                         L"<floor exe> <launcher exe>\n");
        return 2;
    }
    const std::wstring caption = argv[3];
    Program programs[] = {{L"floor", argv[4], {}}, {L"launcher", argv[5], {}}};
    FILE* raw = _wfopen(argv[2], L"w");
    if (!raw)
    {
        fwprintf(stderr, L"StartupBenchmark: cannot write %ls\n", argv[2]);
        return 2;
    }
    fwprintf(raw, L"# round program milliseconds (round 0: warm-up, not counted)\n");

    for (int round = 0; round <= runs; ++round)
    {
        for (int turn = 0; turn < 2; ++turn)
        {
            Program& program = programs[(round + turn) % 2];
            const double ms = TimeOneStart(program.executable, caption);
            if (ms < 0)
            {
                fwprintf(stderr, L"StartupBenchmark: %ls (%ls) showed no sheet \"%ls\"\n",
                         program.name, program.executable.c_str(), caption.c_str());
                fclose(raw);
                return 1;
            }
            fwprintf(raw, L"%d %ls %.1f\n", round, program.name, ms);
            fflush(raw);
            if (round > 0)
                program.startsMs.push_back(ms);
        }
    }
    fclose(raw);

    for (const Program& program : programs)
    {
        const auto range = std::minmax_element(program.startsMs.begin(), program.startsMs.end());
        wprintf(L"%-9ls median %7.1f ms   fastest %7.1f ms   slowest %7.1f ms   (%d runs)\n",
                program.name, Median(program.startsMs), *range.first, *range.second, runs);
    }
    wprintf(L"ratio     %.3f (launcher median / floor median)\n",
            Median(programs[1].startsMs) / Median(programs[0].startsMs));
    return 0;
}
