#pragma once

#include "standins/lexora_runtime/LexoraRuntimeCounters.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The folder of this test executable, where the build puts the stand-in library and the
// compiled databases; without a trailing backslash.
std::string ExecutableFolder();
// StringsTest.Strdb00p, compiled from TestStrings.txt.
std::string TestDatabasePath();
// Config.Strdb00p, the launcher's own database in the language the build ships.
std::string ShippedDatabasePath();

// `count` bytes whose values repeat only every 251 bytes, so that a byte tells its offset.
std::string PatternBytes(size_t count);
char PatternByteAt(size_t offset);

// The stand-in library's counters; the library must be loaded.
LexoraRuntimeCounters ReadRuntimeCounters();

// A database compiled from `source` text ("Key = Text" lines); fails the test on bad input.
std::string CompileDatabase(const std::string& source);

// Builds database bytes field by field, well-formed or not.
class DatabaseBytes
{
public:
    DatabaseBytes& Raw(const std::string& bytes);
    DatabaseBytes& U16(uint32_t value);
    DatabaseBytes& U32(uint32_t value);
    // Magic, version 1 and the entry count.
    DatabaseBytes& Header(uint32_t count);
    // A complete entry: key length, key, text length, UTF-16LE text and terminator.
    DatabaseBytes& Entry(const std::string& key, const std::u16string& text);
    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};
