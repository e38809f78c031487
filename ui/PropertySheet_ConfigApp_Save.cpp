#include "ui/PropertySheet_ConfigApp.h"

#include "settings/SettingsFileWriter.h"
#include "settings/SettingsText.h"

std::string CPropertySheet_ConfigApp::ComposeSettingsText() const
{
    std::string text = m_pageOptions.GetSettingsText();
    text += m_pageDisplay.GetSettingsText();
    text += FormatRemainingPairs(m_settings);
    return text;
}

bool CPropertySheet_ConfigApp::SaveSettingsFile()
{
    // Another program may hold the file or a read may have failed; the player can close that
    // program and start the launcher again.
    if (m_settingsFileUnreadable)
    {
        ShowMessageBox("ErrorDialogTitle", "ErrorFileOpenFailed");
        return false;
    }
    switch (WriteSettingsFile(GetSettingsFilePath(), ComposeSettingsText()))
    {
    case SettingsWriteResult::Written:
        return true;
    case SettingsWriteResult::OpenFailed:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileOpenFailed");
        return false;
    case SettingsWriteResult::WriteFailed:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileWriteFailed");
        return false;
    }
    return false;
}
