#pragma once

#include "settings/SettingsFile.h"

#include <string>

// Settings text as written: one pair per line, `"key" "value"` and a line feed; the line
// feed becomes CR LF on disk because the file is written in text mode. Each key and value is
// written so that reading the file back gives exactly that one token again, and so that
// saving what was read gives the same bytes. A token is written as it is unless it needs one
// of these changes:
//   - a double quote becomes an apostrophe: a token read from the file cannot hold one;
//   - a zero byte becomes a blank: it ends a line, and a token that holds one cannot be read;
//   - a carriage return before a line feed is left out, as text mode puts it back. Other line
//     ends stay: a quoted token that closes on a later line is read whole, as the game reads it
//     (a lone line feed reads back with a carriage return before it);
//   - a token ending in an odd run of backslashes gets one more, so that the closing quote
//     closes: the game reads a quote after an odd run as part of the token.

// Appends one line holding `key` and `value` to `text`.
void AppendSettingsLine(std::string& text, const std::string& key, const std::string& value);

// The tokens left in `settings` as lines, first to last: each token is a key and the next
// one its value. A single token left over at the end has no value and is not written.
std::string FormatRemainingPairs(const CSettingsFile& settings);
