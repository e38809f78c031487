#pragma once

#include "tests/e2e/LauncherInstallation.h"
#include "tests/support/TestEnvironment.h"
#include "tools/driver/LauncherDriver.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// The real launcher in a fresh installation folder, driven from this process, with the
// stand-in game's report and the retail edition's settings file kept apart for each test.
class LauncherTest : public testing::Test
{
protected:
    static constexpr DWORD kTimeoutMs = 20000;
    static constexpr int kApplyButton = 0x3021;

    LauncherTest();
    void TearDown() override;

    std::string ReportPath() const;
    // True once the stand-in game has written its report.
    bool WaitForGameReport() const;
    // Waits until the Apply button is enabled (a change was made) or greyed (it was applied).
    void WaitUntilApplyIs(bool enabled);

    LauncherInstallation m_installation;
    ScopedEnvironmentVariable m_reportTo;
    ScopedSettingsFile m_retailSettings{"DRAV"};
    LauncherDriver m_driver;
};
