#include "ui/OwnedSettingsSync.h"

#include "settings/SettingsFile.h"

void ApplyStoredSettings(IOwnedSettings& page, CSettingsFile& settings)
{
    for (size_t group = 0; group < page.GroupCount(); ++group)
        page.ApplyStoredGroup(group, page.TakeStoredGroup(settings, group));
}

COwnedSettingsSync::COwnedSettingsSync(IOwnedSettings& page) : m_page(page) {}

void COwnedSettingsSync::Load(CSettingsFile& settings)
{
    m_stored.clear();
    m_shown.clear();
    for (size_t group = 0; group < m_page.GroupCount(); ++group)
    {
        m_stored.push_back(m_page.TakeStoredGroup(settings, group));
        m_page.ApplyStoredGroup(group, m_stored.back());
        m_shown.push_back(m_page.GroupText(group));
    }
}

void COwnedSettingsSync::Merge(CSettingsFile& settings)
{
    for (size_t group = 0; group < m_stored.size(); ++group)
    {
        std::string stored = m_page.TakeStoredGroup(settings, group);
        const bool fileChanged = stored != m_stored[group];
        const bool playerChanged = m_page.GroupText(group) != m_shown[group];
        if (fileChanged && !playerChanged)
        {
            m_page.ApplyStoredGroup(group, stored);
            m_shown[group] = m_page.GroupText(group);
        }
        // A choice of the player's stays the player's until it is saved.
        m_stored[group] = std::move(stored);
    }
}

void COwnedSettingsSync::Saved()
{
    for (size_t group = 0; group < m_stored.size(); ++group)
    {
        m_shown[group] = m_page.GroupText(group);
        m_stored[group] = m_shown[group];
    }
}
