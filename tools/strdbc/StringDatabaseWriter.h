#pragma once

#include "tools/strdbc/StringSource.h"

#include <string>
#include <vector>

// Encodes the entries, whose keys must be distinct, as a binary string database in
// `database`. False, with `error` set, when they do not fit the format's limits.
bool EncodeStringDatabase(const std::vector<StringSourceEntry>& entries, std::string& database,
                          std::string& error);
