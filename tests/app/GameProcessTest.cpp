#include "app/GameProcess.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
// The game's main thread, kept by the failing resume so that the test can watch it end.
HANDLE g_suspendedThread = nullptr;

DWORD WINAPI ResumeFails(HANDLE thread)
{
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &g_suspendedThread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    SetLastError(ERROR_ACCESS_DENIED);
    return static_cast<DWORD>(-1);
}
} // namespace

TEST(GameProcess, GameThatCannotBeResumedIsEndedAndNeverRuns)
{
    TempFolder working;
    ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\DRAV.exe").c_str(),
                          (Widen(working.Path()) + L"\\DRAV.exe").c_str(), FALSE));
    ScopedCurrentDirectory inWorking(working.Path());
    const std::string report = working / "report.txt";
    ScopedEnvironmentVariable reportTo(L"DRAV_STANDIN_REPORT", Widen(report));

    EXPECT_FALSE(StartGame(ResumeFails));

    ASSERT_NE(g_suspendedThread, nullptr);
    EXPECT_EQ(WaitForSingleObject(g_suspendedThread, 10000), WAIT_OBJECT_0) << "still suspended";
    DWORD exitCode = 0;
    GetExitCodeThread(g_suspendedThread, &exitCode);
    EXPECT_EQ(exitCode, 1u);
    CloseHandle(g_suspendedThread);
    EXPECT_TRUE(ReadGameReport(report).empty());
}
