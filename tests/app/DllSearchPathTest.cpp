#include "app/DllSearchPath.h"

#include "tests/support/TempFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

TEST(DllSearchPath, ADllThatOnlyTheCurrentDirectoryHoldsIsNoLongerLoaded)
{
    char program[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, program, MAX_PATH), 0u);
    std::string library = program;
    library.replace(library.rfind('\\') + 1, std::string::npos, "LexoraRuntime.dll");
    const TempFolder folder;
    ASSERT_TRUE(CopyFileA(library.c_str(), (folder / "cwdonly.dll").c_str(), FALSE));
    const ScopedCurrentDirectory inFolder(folder.Path());

    const HMODULE before = LoadLibraryW(L"cwdonly.dll");
    ASSERT_NE(before, nullptr) << "the current directory is searched before";
    FreeLibrary(before);
    RemoveCurrentDirectoryFromDllSearch();
    const HMODULE after = LoadLibraryW(L"cwdonly.dll");
    EXPECT_EQ(after, nullptr);
    if (after)
        FreeLibrary(after);
}
