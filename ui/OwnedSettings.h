#pragma once

#include <cstddef>
#include <string>

class CSettingsFile;

// The keys of settings.cfg that a page owns, in groups that a save merges as one
// (COwnedSettingsSync). Both sides of a group are settings lines in a fixed order: its stored
// text is the pairs as a settings file held them, "" when it held none; its page text is the
// page's own lines for it.
class IOwnedSettings
{
public:
    virtual size_t GroupCount() const = 0;
    // Takes the group's pairs out of `settings` and returns them as its stored text.
    virtual std::string TakeStoredGroup(CSettingsFile& settings, size_t group) = 0;
    // Chooses what the stored text `stored` says for the group, and shows it.
    virtual void ApplyStoredGroup(size_t group, const std::string& stored) = 0;
    // The page's lines for the group.
    virtual std::string GroupText(size_t group) const = 0;

protected:
    ~IOwnedSettings() = default;
};
