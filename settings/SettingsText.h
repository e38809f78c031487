#pragma once

#include "settings/SettingsFile.h"

#include <string>

// Settings text as written: one pair per line, `"key" "value"` and a line feed. Nothing is
// escaped, so a key or value holding a double quote or ending in a backslash reads back
// differently; the line feed becomes CR LF on disk because the file is written in text mode.

// Appends one line holding `key` and `value` verbatim to `text`.
void AppendSettingsLine(std::string& text, const std::string& key, const std::string& value);

// The tokens left in `settings` as lines, first to last: each token is a key and the next
// one its value. A single token left over at the end has no value and is not written.
std::string FormatRemainingPairs(const CSettingsFile& settings);
