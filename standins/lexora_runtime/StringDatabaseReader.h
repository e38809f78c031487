#pragma once

#include "standins/lexora_runtime/StringTable.h"
#include "strings/ReadStream.h"

// Reads a whole string database from the current position of `stream` to its end into
// `table`, which must be empty. False for any file that is not a well-formed database of at
// most StringDatabaseFormat::kMaxDatabaseBytes; `table` is then left in an unspecified state.
// The stream is only read, never kept or released.
bool ReadStringDatabase(IReadStream& stream, StringTable& table);
