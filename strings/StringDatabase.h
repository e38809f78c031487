#pragma once

#include <cstdint>

// The localized string database, opened once through the string manager library. Lookups
// never fail: they give the stored text or one of the fallback texts below.
class CStringDatabase
{
public:
    // Opens the database file `path` (narrow, handed to the file system unchanged; a bare
    // name is looked for in the current directory). Loads the library when needed.
    explicit CStringDatabase(const char* path);
    // Closes the database through the manager when it was opened.
    virtual ~CStringDatabase();
    CStringDatabase(const CStringDatabase&) = delete;
    CStringDatabase& operator=(const CStringDatabase&) = delete;

    // The text stored under the narrow `key`, "[Manager Invalid]" without a string manager,
    // "[Database Invalid]" without an open database, or whatever the manager gives (null
    // included). Valid only until the next call into the manager: copy it into a
    // CWideTextCopy at once.
    const wchar_t* Lookup(const char* key) const;

private:
    uint32_t m_hDatabase;
};

extern const wchar_t kManagerInvalidText[];
extern const wchar_t kDatabaseInvalidText[];
