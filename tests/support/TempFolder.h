#pragma once

#include <string>

// A fresh, empty folder below the system's temporary folder, deleted with everything in it
// when the object goes out of scope.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, without a trailing backslash.
    const std::string& Path() const { return m_path; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const;

    // Writes `content` byte for byte (binary) into the file `name` inside the folder.
    void WriteFile(const std::string& name, const std::string& content) const;
    // The content of the file `name`, or "" when it cannot be read.
    std::string ReadFile(const std::string& name) const;

private:
    std::string m_path;
};

// Makes `path` the current directory for the lifetime of the object.
class ScopedCurrentDirectory
{
public:
    explicit ScopedCurrentDirectory(const std::string& path);
    ~ScopedCurrentDirectory();
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::string m_previous;
};
