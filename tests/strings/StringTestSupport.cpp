#include "tests/strings/StringTestSupport.h"

#include "tools/strdbc/StringDatabaseWriter.h"
#include "tools/strdbc/StringSource.h"

#include <windows.h>

#include <gtest/gtest.h>

std::string ExecutableFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string TestDatabasePath()
{
    return ExecutableFolder() + "\\StringsTest.Strdb00p";
}

std::string ShippedDatabasePath()
{
    return ExecutableFolder() + "\\Config.Strdb00p";
}

char PatternByteAt(size_t offset)
{
    return char(offset % 251);
}

std::string PatternBytes(size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = PatternByteAt(i);
    return bytes;
}

LexoraRuntimeCounters ReadRuntimeCounters()
{
    LexoraRuntimeCounters counters = {};
    const HMODULE library = GetModuleHandleW(L"LexoraRuntime.dll");
    const FARPROC export_ =
        library ? GetProcAddress(library, kGetLexoraRuntimeCountersExport) : nullptr;
    if (export_ == nullptr)
    {
        ADD_FAILURE() << "the stand-in library is not loaded";
        return counters;
    }
    reinterpret_cast<GetLexoraRuntimeCountersFunction>(reinterpret_cast<void*>(export_))(&counters);
    return counters;
}

std::string CompileDatabase(const std::string& source)
{
    const StringSource parsed = ParseStringSource(source);
    EXPECT_TRUE(parsed.errors.empty())
        << "line " << parsed.errors.front().line << ": " << parsed.errors.front().message;
    std::string database;
    std::string error;
    EXPECT_TRUE(EncodeStringDatabase(parsed.entries, database, error)) << error;
    return database;
}

DatabaseBytes& DatabaseBytes::Raw(const std::string& bytes)
{
    m_bytes += bytes;
    return *this;
}

DatabaseBytes& DatabaseBytes::U16(uint32_t value)
{
    m_bytes.push_back(char(value & 0xFF));
    m_bytes.push_back(char(value >> 8 & 0xFF));
    return *this;
}

DatabaseBytes& DatabaseBytes::U32(uint32_t value)
{
    return U16(value & 0xFFFF).U16(value >> 16);
}

DatabaseBytes& DatabaseBytes::Header(uint32_t count)
{
    return Raw("LXSD").U16(1).U32(count);
}

DatabaseBytes& DatabaseBytes::Entry(const std::string& key, const std::u16string& text)
{
    U16(uint32_t(key.size())).Raw(key).U32(uint32_t(text.size()));
    for (char16_t unit : text)
        U16(unit);
    return U16(0);
}
