#include "strings/StringDatabase.h"

#include "strings/FileReadStream.h"
#include "strings/StringManagerLibrary.h"

const wchar_t kManagerInvalidText[] = L"[Manager Invalid]";
const wchar_t kDatabaseInvalidText[] = L"[Database Invalid]";

CStringDatabase::CStringDatabase(const char* path) : m_hDatabase(0)
{
    ILexoraMgr* manager = GetStringManager();
    if (manager == nullptr)
        return;

    // The stream lives only for this call: the manager reads the whole database while
    // opening it, and the file is closed and its buffer pooled again right after.
    CFileReadStream stream;
    if (!stream.Open(path))
        return;
    m_hDatabase = manager->OpenDatabase(&stream);
}

CStringDatabase::~CStringDatabase()
{
    ILexoraMgr* manager = GetStringManager();
    if (manager != nullptr && m_hDatabase != 0)
        manager->CloseDatabase(m_hDatabase);
}

const wchar_t* CStringDatabase::Lookup(const char* key) const
{
    ILexoraMgr* manager = GetStringManager();
    if (manager == nullptr)
        return kManagerInvalidText;
    if (m_hDatabase == 0)
        return kDatabaseInvalidText;
    const uint32_t id = manager->FindStringId(m_hDatabase, key);
    return manager->GetStringById(m_hDatabase, id);
}
