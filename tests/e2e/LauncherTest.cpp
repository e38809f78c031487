#include "tests/e2e/LauncherTest.h"

#include "tools/driver/WaitUntil.h"

LauncherTest::LauncherTest() : m_reportTo(L"DRAV_STANDIN_REPORT", Widen(ReportPath())) {}

void LauncherTest::TearDown()
{
    m_driver.Terminate();
}

std::string LauncherTest::ReportPath() const
{
    return m_installation.Path("game-report.txt");
}

bool LauncherTest::WaitForGameReport() const
{
    return WaitUntil([this] { return !ReadGameReport(ReportPath()).empty(); }, kTimeoutMs);
}

void LauncherTest::WaitUntilApplyIs(bool enabled)
{
    ASSERT_TRUE(WaitUntil(
        [&] { return (IsWindowEnabled(m_driver.Button(kApplyButton)) != FALSE) == enabled; },
        kTimeoutMs))
        << "Apply did not become " << (enabled ? "enabled" : "greyed");
}
