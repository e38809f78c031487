// Runs a copy of this test program in a folder without LexoraRuntime.dll, as a fresh child
// process: no library can be unloaded from a running process, and a fresh process also shows
// the buffer pool as start-up left it.
#include "strings/FileBufferPool.h"
#include "strings/StringDatabase.h"
#include "strings/StringManagerLibrary.h"
#include "strings/WideTextCopy.h"
#include "tests/strings/StringTestSupport.h"
#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace
{
// Set for the child only: the folder to fetch the library from once it has run without it.
const char kLibraryFolderVariable[] = "STRINGS_TESTS_LIBRARY_FOLDER";
const char kChildPassedMarker[] = "child-passed.txt";

std::string ChildLibraryFolder()
{
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA(kLibraryFolderVariable, folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? folder : "";
}

// Starts `program` with `arguments` in `workingFolder`, sharing this process's output, and
// returns its exit code, or -1 when it could not be started or did not end in time.
long RunChild(const std::string& program, const std::string& arguments,
              const std::string& workingFolder)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process))
        return -1;
    CloseHandle(process.hThread);
    DWORD exitCode = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    else
        TerminateProcess(process.hProcess, DWORD(-1));
    CloseHandle(process.hProcess);
    return long(exitCode);
}
} // namespace

TEST(StringClientWithoutLibrary, ProgramWithoutTheLibraryBesideItRunsOnWithFallbackTexts)
{
    TempFolder programFolder;
    TempFolder workingFolder;
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = programFolder / "strings_tests.exe";
    ASSERT_TRUE(CopyFileA(self, program.c_str(), FALSE));
    // A library in the working folder must not be picked up.
    ASSERT_TRUE(CopyFileA((ExecutableFolder() + "\\LexoraRuntime.dll").c_str(),
                          (workingFolder / "LexoraRuntime.dll").c_str(), FALSE));
    ASSERT_TRUE(
        CopyFileA(TestDatabasePath().c_str(), (workingFolder / "Config.Strdb00p").c_str(), FALSE));

    SetEnvironmentVariableA(kLibraryFolderVariable, ExecutableFolder().c_str());
    const long exitCode =
        RunChild(program, "--gtest_filter=StringClientInBareFolder.*", workingFolder.Path());
    SetEnvironmentVariableA(kLibraryFolderVariable, nullptr);

    EXPECT_EQ(0, exitCode);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES,
              GetFileAttributesA((workingFolder / kChildPassedMarker).c_str()))
        << "the child test did not run or did not pass";
}

TEST(StringClientInBareFolder, FallsBackThenLoadsTheLibraryOnceItAppears)
{
    const std::string libraryFolder = ChildLibraryFolder();
    if (libraryFolder.empty())
        GTEST_SKIP() << "runs only in the copy started by StringClientWithoutLibrary";

    const FileBufferPoolCounters startUp = ReadFileBufferPoolCounters();
    EXPECT_EQ(5u, startUp.totalBlocks);
    EXPECT_EQ(1u, startUp.chunks);
    EXPECT_EQ(5u, startUp.freeBlocks);

    EXPECT_FALSE(LoadStringManagerLibrary());
    EXPECT_EQ(nullptr, GetStringManager());
    {
        CStringDatabase database("Config.Strdb00p");
        EXPECT_STREQ(L"[Manager Invalid]", database.Lookup("Greeting"));
        EXPECT_STREQ(L"[Manager Invalid]", database.Lookup(nullptr));
        CWideTextCopy title(database.Lookup("WindowTitle"));
        EXPECT_STREQ(L"[Manager Invalid]", title.Text());
    }

    // Every request tries the load again.
    ASSERT_TRUE(CopyFileA((libraryFolder + "\\LexoraRuntime.dll").c_str(),
                          (ExecutableFolder() + "\\LexoraRuntime.dll").c_str(), FALSE));
    ASSERT_NE(nullptr, GetStringManager());
    {
        CStringDatabase database("Config.Strdb00p");
        CWideTextCopy greeting(database.Lookup("Greeting"));
        EXPECT_STREQ(L"Hello", greeting.Text());
    }

    if (!HasFailure())
        std::ofstream(kChildPassedMarker) << "passed";
}
