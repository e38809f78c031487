#pragma once

#include "tests/support/TempFolder.h"

#include <string>

// The installation folder a test starts the launcher in, and into which it adds or leaves out
// the other files of an installation.
//
// When the environment variable LAUNCHER_INSTALLATION names a folder (an unpacked release
// package), that folder is the installation, as it is. Otherwise it is a fresh temporary
// folder with the launcher, its string library and the English database from the build.
class LauncherInstallation
{
public:
    LauncherInstallation();

    // Copies a file of the build's bin folder into the installation under `name`.
    bool AddFromBuild(const wchar_t* buildName, const wchar_t* name);
    bool AddFromBuild(const wchar_t* name) { return AddFromBuild(name, name); }
    // Deletes a file of the installation.
    void Remove(const wchar_t* name);
    void WriteFile(const std::string& name, const std::string& content) const;

    std::wstring Folder() const;
    std::wstring Launcher() const;
    const std::string& Path() const { return m_path; }
    std::string Path(const std::string& name) const { return m_path + "\\" + name; }

private:
    TempFolder m_temporary;
    std::string m_path;
};
