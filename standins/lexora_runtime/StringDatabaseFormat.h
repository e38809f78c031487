#pragma once

#include <cstdint>

// The binary string database ("*.Strdb00p"), written by strdbc and read by the string
// manager. All numbers are little-endian.
//
//   header   4 bytes  magic "LXSD"
//            2 bytes  format version (1)
//            4 bytes  entry count N
//   N times  2 bytes  key length K in bytes (at least 1)
//            K bytes  key, narrow characters without NUL
//            4 bytes  text length T in UTF-16 code units
//            2T+2     text in UTF-16LE without NUL, then a NUL code unit
//
// The file ends right after the last entry, and no key appears twice.
namespace StringDatabaseFormat
{
constexpr char kMagic[4] = {'L', 'X', 'S', 'D'};
constexpr uint16_t kVersion = 1;
constexpr uint32_t kHeaderBytes = 10;
// Key length, one key byte, text length and the terminator.
constexpr uint32_t kSmallestEntryBytes = 2 + 1 + 4 + 2;
constexpr uint32_t kMaxKeyBytes = 0xFFFF;
// No database is larger; a larger file is refused before anything is allocated for it.
constexpr uint32_t kMaxDatabaseBytes = 4 * 1024 * 1024;
} // namespace StringDatabaseFormat
