#include "app/GameProcess.h"

#include "tests/support/TempFolder.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
// What the resume seam saw of the game: the thread handle the launch passed in, and a handle
// of the test's own to the same thread, so that the test can watch the game end.
struct SeenGame
{
    HANDLE launchThread = nullptr;
    HANDLE thread = nullptr;
};
SeenGame g_seen;

void SeeGame(HANDLE thread)
{
    g_seen.launchThread = thread;
    DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &g_seen.thread, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
}

DWORD WINAPI ResumeFails(HANDLE thread)
{
    SeeGame(thread);
    SetLastError(ERROR_ACCESS_DENIED);
    return static_cast<DWORD>(-1);
}

DWORD WINAPI ResumeSucceeds(HANDLE thread)
{
    SeeGame(thread);
    return ResumeThread(thread);
}

bool IsOpenHandle(HANDLE handle)
{
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

// A copy of the stand-in game in a temporary working folder, started by the launch under
// test with the resume call given; the game's report path is kept for the checks.
class GameProcessTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_seen = {};
        ASSERT_TRUE(CopyFileW((BuildBinFolder() + L"\\DRAV.exe").c_str(),
                              (Widen(m_working.Path()) + L"\\DRAV.exe").c_str(), FALSE));
    }

    void TearDown() override
    {
        if (g_seen.thread)
            CloseHandle(g_seen.thread);
    }

    // StartGame's result; the launch's thread handle must be closed by the time it returns.
    bool Start(ResumeThreadCall resume)
    {
        ScopedCurrentDirectory inWorking(m_working.Path());
        ScopedEnvironmentVariable reportTo(L"DRAV_STANDIN_REPORT", Widen(m_report));
        const bool started = StartGame(resume);
        EXPECT_FALSE(IsOpenHandle(g_seen.launchThread)) << "the game's thread handle was kept";
        return started;
    }

    // The exit code of the game's main thread, or STILL_ACTIVE when it did not end within a
    // minute (a game left suspended never does).
    DWORD WaitForTheGame()
    {
        DWORD exitCode = STILL_ACTIVE;
        if (WaitForSingleObject(g_seen.thread, 60000) == WAIT_OBJECT_0)
            GetExitCodeThread(g_seen.thread, &exitCode);
        return exitCode;
    }

    TempFolder m_working;
    const std::string m_report = m_working / "report.txt";
};
} // namespace

TEST_F(GameProcessTest, ResumedGameRunsAndTheLaunchKeepsNoHandle)
{
    EXPECT_TRUE(Start(ResumeSucceeds));

    ASSERT_NE(g_seen.thread, nullptr);
    EXPECT_EQ(WaitForTheGame(), 0u);
    EXPECT_EQ(ReadGameReport(m_report)["game"], "DRAV.exe");
}

TEST_F(GameProcessTest, GameThatCannotBeResumedIsEndedAndNeverRuns)
{
    EXPECT_FALSE(Start(ResumeFails));

    ASSERT_NE(g_seen.thread, nullptr);
    EXPECT_EQ(WaitForTheGame(), 1u) << "ended by the launch";
    EXPECT_TRUE(ReadGameReport(m_report).empty());
}
