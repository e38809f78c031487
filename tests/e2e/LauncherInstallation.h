#pragma once

#include "tests/support/TempFolder.h"

#include <string>

// A fresh installation folder with the launcher, its string library and database copied
// from the build, into which a test adds or leaves out the other files of an installation.
class LauncherInstallation
{
public:
    LauncherInstallation();

    // Copies a file of the build's bin folder into the installation under `name`.
    bool AddFromBuild(const wchar_t* buildName, const wchar_t* name);
    bool AddFromBuild(const wchar_t* name) { return AddFromBuild(name, name); }
    // Deletes a file of the installation.
    void Remove(const wchar_t* name);

    std::wstring Folder() const;
    std::wstring Launcher() const;
    std::string Path(const std::string& name) const { return m_folder / name; }
    const TempFolder& Files() const { return m_folder; }

private:
    TempFolder m_folder;
};
