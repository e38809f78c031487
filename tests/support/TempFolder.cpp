#include "tests/support/TempFolder.h"

#include "tests/support/FileContent.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

namespace
{
void DeleteTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE)
    {
        do
        {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}
} // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;)
    {
        std::ostringstream name;
        name << base << "cfgtest-" << GetCurrentProcessId() << "-" << ++counter;
        if (CreateDirectoryA(name.str().c_str(), nullptr))
        {
            m_path = name.str();
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
        {
            ADD_FAILURE() << "cannot create a temporary folder below " << base;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        DeleteTree(m_path);
}

std::string TempFolder::operator/(const std::string& name) const
{
    return m_path + "\\" + name;
}

void TempFolder::WriteFile(const std::string& name, const std::string& content) const
{
    WriteWholeFile(*this / name, content);
}

std::string TempFolder::ReadFile(const std::string& name) const
{
    return ReadWholeFile(*this / name);
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path)
{
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    m_previous = previous;
    EXPECT_TRUE(SetCurrentDirectoryA(path.c_str())) << "cannot enter " << path;
}

ScopedCurrentDirectory::~ScopedCurrentDirectory()
{
    SetCurrentDirectoryA(m_previous.c_str());
}
