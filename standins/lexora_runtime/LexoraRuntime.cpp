#include "standins/lexora_runtime/LexoraRuntimeCounters.h"
#include "standins/lexora_runtime/StringDatabaseReader.h"
#include "standins/lexora_runtime/StringTable.h"
#include "strings/LexoraMgr.h"
#include "text/TextConversion.h"

#include <windows.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace
{
// Stands in for the maker's string manager. Every database is read completely while it is
// opened; its texts stay valid until it is closed, longer than the interface promises. Keys
// are matched exactly, byte for byte. All calls come from one thread, so nothing is locked.
class CLexoraRuntime : public ILexoraMgr
{
public:
    uint32_t OpenDatabase(IReadStream* stream) override
    {
        if (stream == nullptr)
            return 0;
        auto table = std::make_unique<StringTable>();
        if (!ReadStringDatabase(*stream, *table))
            return 0;
        const uint32_t handle = NextFreeHandle();
        m_databases[handle] = std::move(table);
        return handle;
    }

    void CloseDatabase(uint32_t database) override
    {
        ++m_closeCalls;
        m_databases.erase(database);
    }

    void Unused2() override {}
    void Unused3() override {}

    // A key the database lacks gets an id of its own whose text names the key, so that a
    // missing translation shows up on screen as "[Missing: Key]". A null key has no id.
    uint32_t FindStringId(uint32_t database, const char* key) override
    {
        StringTable* table = Find(database);
        if (table == nullptr || key == nullptr)
            return 0;
        const uint32_t id = table->FindId(key);
        if (id != 0)
            return id;
        table->Add(key, L"[Missing: " + AnsiToWide(key, strlen(key)) + L"]");
        return table->FindId(key);
    }

    void Unused5() override {}

    // Null for an unknown database or an id that FindStringId never gave.
    const wchar_t* GetStringById(uint32_t database, uint32_t id) override
    {
        const StringTable* table = Find(database);
        return table == nullptr ? nullptr : table->TextById(id);
    }

    LexoraRuntimeCounters Counters() const { return {uint32_t(m_databases.size()), m_closeCalls}; }

private:
    StringTable* Find(uint32_t database)
    {
        const auto found = m_databases.find(database);
        return found == m_databases.end() ? nullptr : found->second.get();
    }

    uint32_t NextFreeHandle()
    {
        do
            ++m_lastHandle;
        while (m_lastHandle == 0 || m_databases.count(m_lastHandle) != 0);
        return m_lastHandle;
    }

    std::map<uint32_t, std::unique_ptr<StringTable>> m_databases;
    uint32_t m_lastHandle = 0;
    uint32_t m_closeCalls = 0;
};

CLexoraRuntime g_runtime;
} // namespace

extern "C" __declspec(dllexport) ILexoraMgr* GetILexoraMgr()
{
    return &g_runtime;
}

extern "C" __declspec(dllexport) void GetLexoraRuntimeCounters(LexoraRuntimeCounters* counters)
{
    if (counters != nullptr)
        *counters = g_runtime.Counters();
}
