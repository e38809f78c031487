#pragma once

#include <windows.h>

#include <map>
#include <string>

// The folder of the running test program; the build puts the launcher, its library, the
// string databases and the stand-in games there too.
std::wstring BuildBinFolder();

std::wstring Widen(const std::string& ascii);

// Sets an environment variable for the object's lifetime; started processes inherit it.
class ScopedEnvironmentVariable
{
public:
    ScopedEnvironmentVariable(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const wchar_t* m_name;
    bool m_hadValue = false;
    std::wstring m_previous;
};

// Takes settings.cfg of an edition's real settings folder ("DRAV" or "DRAVFree") out of the
// way for the object's lifetime and puts back what was there (or nothing) afterwards.
// Test executables that use it take the CTest lock wine_settings_folder.
class ScopedSettingsFile
{
public:
    explicit ScopedSettingsFile(const char* editionFolder);
    ~ScopedSettingsFile();
    ScopedSettingsFile(const ScopedSettingsFile&) = delete;
    ScopedSettingsFile& operator=(const ScopedSettingsFile&) = delete;

    void Write(const std::string& content) const;
    std::string Read() const;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    bool m_existed = false;
    std::string m_previous;
};

// The stand-in game's report ("name: value" lines) as a map; empty when there is none.
using GameReport = std::map<std::string, std::string>;
GameReport ReadGameReport(const std::string& path);
