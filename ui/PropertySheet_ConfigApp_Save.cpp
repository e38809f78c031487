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
