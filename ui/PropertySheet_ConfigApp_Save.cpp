#include "ui/PropertySheet_ConfigApp.h"

#include "settings/SettingsText.h"
#include "settings/save/SettingsFileSave.h"

#include <utility>

namespace
{
// Saves tried in a row while another program keeps making or rewriting the file where the
// launcher cannot hold it.
const int kSaveTries = 3;
} // namespace

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
    SettingsWriteResult result = SettingsWriteResult::ChangedMeanwhile;
    bool fileExisted = true;
    for (int attempt = 0; attempt < kSaveTries && result == SettingsWriteResult::ChangedMeanwhile;
         ++attempt)
    {
        CSettingsFileSave save(m_fileCalls);
        CSettingsFile current;
        result = save.Begin(path, current);
        if (result != SettingsWriteResult::Written)
            break;
        const bool followed = FollowChangesOnDisk(save, current);
        const std::string text = ComposeSettingsText();
        result = save.Replace(text);
        fileExisted = save.State().exists;
        if (followed)
            m_fileState = save.TakeState();
        if (result == SettingsWriteResult::Written)
        {
            RememberWrittenFile(path, text);
            return true;
        }
        if (result == SettingsWriteResult::WriteFailedDamaged)
            RememberDamagedFile(path);
    }
    ShowSaveFailure(result, fileExisted);
    return false;
}

void CPropertySheet_ConfigApp::ShowSaveFailure(SettingsWriteResult result, bool fileExisted)
{
    switch (result)
    {
    case SettingsWriteResult::ReadFailed:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileReadFailed");
        return;
    case SettingsWriteResult::OpenFailed:
        ShowMessageBox("ErrorDialogTitle",
                       fileExisted ? "ErrorFileOpenFailed" : "ErrorFileCreateFailed");
        return;
    case SettingsWriteResult::WriteFailedDamaged:
        ShowMessageBox("ErrorDialogTitle", "ErrorFileWriteFailedDamaged");
        return;
    case SettingsWriteResult::Written:
    case SettingsWriteResult::WriteFailed:
    case SettingsWriteResult::ChangedMeanwhile:
        break;
    }
    // Only where there were settings before are they kept.
    ShowMessageBox("ErrorDialogTitle",
                   fileExisted ? "ErrorFileWriteFailed" : "ErrorFileCreateFailed");
}

bool CPropertySheet_ConfigApp::FollowChangesOnDisk(const CSettingsFileSave& save,
                                                   CSettingsFile& current)
{
    if (m_fileKnown && save.State() == m_fileState)
        return false;
    // The game, a second launcher or a mod tool wrote the file meanwhile, or it could not be
    // read before. Its pairs are kept; the pages' keys are merged.
    m_displaySync.Merge(current);
    m_optionsSync.Merge(current);
    m_settings = std::move(current);
    m_fileKnown = true;
    return true;
}

void CPropertySheet_ConfigApp::RememberWrittenFile(const std::string& path, const std::string& text)
{
    m_displaySync.Saved();
    m_optionsSync.Saved();
    // The file as written becomes what the next save compares with. When it does not read back
    // as the text just written, another program wrote it right after this save, and the next
    // save merges the file as it is then.
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
