// The version resources of the shipped files, read the way Explorer's properties read them.
#include "tests/support/TestEnvironment.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class VersionInfo
{
public:
    explicit VersionInfo(const std::wstring& path)
    {
        DWORD handle = 0;
        const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
        m_data.resize(size);
        if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, m_data.data()))
            m_data.clear();
    }

    const VS_FIXEDFILEINFO* Fixed()
    {
        void* value = nullptr;
        UINT length = 0;
        if (m_data.empty() || !VerQueryValueW(m_data.data(), L"\\", &value, &length) ||
            length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    std::wstring String(const std::wstring& name)
    {
        void* value = nullptr;
        UINT length = 0;
        const std::wstring path = L"\\StringFileInfo\\040904B0\\" + name;
        if (m_data.empty() || !VerQueryValueW(m_data.data(), path.c_str(), &value, &length))
            return std::wstring();
        return static_cast<const wchar_t*>(value);
    }

private:
    std::vector<BYTE> m_data;
};
} // namespace

TEST(VersionInfoTest, LauncherAndLibraryCarryTheProjectVersion)
{
    for (const wchar_t* file : {L"ConfigApp.exe", L"LexoraRuntime.dll"})
    {
        SCOPED_TRACE(testing::Message() << std::wstring(file));
        VersionInfo info(BuildBinFolder() + L"\\" + file);
        const VS_FIXEDFILEINFO* fixed = info.Fixed();
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(MAKELONG(PROJECT_VERSION_MINOR, PROJECT_VERSION_MAJOR), fixed->dwFileVersionMS);
        EXPECT_EQ(MAKELONG(0, PROJECT_VERSION_PATCH), fixed->dwFileVersionLS);
        EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
        EXPECT_EQ(PROJECT_VERSION, info.String(L"FileVersion"));
        EXPECT_EQ(L"DRAV Configuration", info.String(L"ProductName"));
        EXPECT_EQ(std::wstring(file), info.String(L"OriginalFilename"));
        EXPECT_FALSE(info.String(L"FileDescription").empty());
        EXPECT_EQ(0u, info.String(L"LegalCopyright").find(L"Copyright"));
    }
}
