#include "strings/StringManagerLibrary.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace
{
const std::wstring kLibrary = L"LexoraRuntime.dll";

// A module path on drive C: whose directory, both separators included, has `length` units.
std::wstring ModulePathWithDirectoryOf(size_t length)
{
    return L"C:\\" + std::wstring(length - 2, L'd') + L"\\launcher.exe";
}
} // namespace

TEST(ComposeStringManagerPath, PutsTheLibraryInTheModulesFolder)
{
    wchar_t path[kModulePathLength] = {};
    EXPECT_TRUE(ComposeStringManagerPath(L"C:\\Games\\DRAV\\ConfigApp.exe", path));
    EXPECT_STREQ(L"C:\\Games\\DRAV\\LexoraRuntime.dll", path);
    EXPECT_TRUE(ComposeStringManagerPath(L"\\\\server\\share\\ConfigApp.exe", path));
    EXPECT_STREQ(L"\\\\server\\share\\LexoraRuntime.dll", path);
    EXPECT_TRUE(ComposeStringManagerPath(L"ConfigApp.exe", path));
    EXPECT_STREQ(L"LexoraRuntime.dll", path);
}

TEST(ComposeStringManagerPath, RefusesFoldersThePathSplitterWouldCutShort)
{
    wchar_t path[kModulePathLength] = {};
    const std::wstring longest = ModulePathWithDirectoryOf(_MAX_DIR - 1);
    EXPECT_TRUE(ComposeStringManagerPath(longest.c_str(), path));
    EXPECT_EQ(longest.substr(0, 2 + _MAX_DIR - 1) + kLibrary, path);

    wcscpy(path, L"untouched");
    const std::wstring tooLong = ModulePathWithDirectoryOf(_MAX_DIR);
    EXPECT_FALSE(ComposeStringManagerPath(tooLong.c_str(), path));
    const std::wstring bufferTooSmall = L"C:\\" + std::wstring(kModulePathLength, L'd');
    EXPECT_FALSE(ComposeStringManagerPath(bufferTooSmall.c_str(), path));
    EXPECT_FALSE(ComposeStringManagerPath(nullptr, path));
    EXPECT_STREQ(L"untouched", path);
}

TEST(StringManagerLibrary, LoadsTheLibraryBesideTheExecutable)
{
    EXPECT_TRUE(LoadStringManagerLibrary());
    ILexoraMgr* manager = GetStringManager();
    ASSERT_NE(nullptr, manager);
    EXPECT_EQ(manager, GetStringManager());

    wchar_t loaded[MAX_PATH] = {};
    GetModuleFileNameW(GetModuleHandleW(L"LexoraRuntime.dll"), loaded, MAX_PATH);
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring selfPath = self;
    const std::wstring expected = selfPath.substr(0, selfPath.find_last_of(L'\\') + 1) + kLibrary;
    EXPECT_EQ(0, _wcsicmp(expected.c_str(), loaded)) << loaded;
}
