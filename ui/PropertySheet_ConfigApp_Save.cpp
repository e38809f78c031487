#include "ui/PropertySheet_ConfigApp.h"

#include "settings/SettingsFileWriter.h"
#include "settings/SettingsText.h"

#include <utility>

std::string CPropertySheet_ConfigApp::ComposeSettingsText() const
{
    std::string text = m_pageOptions.GetSettingsText();
    text += m_pageDisplay.GetSettingsText();
    text += FormatRemainingPairs(m_settings);
    return text;
}

bool CPropertySheet_ConfigApp::SaveSettingsFile()
{
    // Another program may hold the file or a read may have failed; the file is read again at
    // each save, so the player can press Apply or OK again once that program let go.
    const std::string path = GetSettingsFilePath();
    if (!FollowChangesOnDisk(path))
    {
        ShowMessageBox("ErrorDialogTitle", "ErrorFileOpenFailed");
        return false;
    }
    const std::string text = ComposeSettingsText();
    switch (WriteSettingsFile(path, text))
    {
    case SettingsWriteResult::Written:
        RememberWrittenFile(path, text);
        return true;
    case SettingsWriteResult::OpenFailed:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileOpenFailed");
        return false;
    case SettingsWriteResult::WriteFailed:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileWriteFailed");
        return false;
    case SettingsWriteResult::WriteFailedDamaged:
        RememberDamagedFile(path);
        ShowMessageBox("ErrorDialogTitle", "ErrorFileWriteFailedDamaged");
        return false;
    }
    return false;
}

bool CPropertySheet_ConfigApp::FollowChangesOnDisk(const std::string& path)
{
    CSettingsFile current;
    SettingsFileState state;
    if (!CSettingsFile::Load(path.c_str(), current, state))
        return false;
    if (state == m_fileState)
        return true;
    // The game, a second launcher or a mod tool wrote the file meanwhile. Its pairs are kept:
    // the pages take their keys out of the file as it is now, as they did when the sheet
    // opened, while their choices stay as the player sees them.
    m_pageDisplay.TakeOwnedKeys(current);
    m_pageOptions.TakeOwnedKeys(current);
    m_settings = std::move(current);
    m_fileState = std::move(state);
    return true;
}

void CPropertySheet_ConfigApp::RememberWrittenFile(const std::string& path, const std::string& text)
{
    // The file as written becomes what the next save compares with. When it does not read back
    // as the text just written, another program wrote it right after this save, and the next
    // save takes the file as it is then.
    CSettingsFile written;
    SettingsFileState state;
    if (CSettingsFile::Load(path.c_str(), written, state) && FormatRemainingPairs(written) == text)
        m_fileState = std::move(state);
}

void CPropertySheet_ConfigApp::RememberDamagedFile(const std::string& path)
{
    CSettingsFile damaged;
    SettingsFileState state;
    if (CSettingsFile::Load(path.c_str(), damaged, state))
        m_fileState = std::move(state);
}
