#pragma once

#include "settings/SettingsFile.h"

#include <string>

// Settings text as written: one pair per line, `"key" "value"` and a line feed; the line
// feed becomes CR LF on disk because the file is written in text mode. Each key and value is
// written so that reading the file back gives exactly that one token again, and so that
// saving what was read gives the same bytes. A token is written as it is unless it needs one
// of these changes:
//   - a double quote becomes an apostrophe: a token read from the file cannot hold one;
//   - a line feed, carriage return or zero byte becomes a blank: each ends a line, and a line
//     end ends every token when the file is read;
//   - a token ending in an odd run of backslashes gets one more, so that the closing quote
//     closes: the game reads a quote after an odd run as part of the token.

// Appends one line holding `key` and `value` to `text`.
void AppendSettingsLine(std::string& text, const std::string& key, const std::string& value);

// The tokens left in `settings` as lines, first to last: each token is a key and the next
// one its value. A single token left over at the end has no value and is not written.
std::string FormatRemainingPairs(const CSettingsFile& settings);
