#pragma once

#include <cstddef>
#include <list>
#include <string>

// Reading of settings text: a zero-terminated byte sequence of tokens separated by
// whitespace. A token may be written in double quotes to hold whitespace; a closing quote
// ends the token even when no whitespace follows. Backslashes are always kept; a quote after
// an odd run of backslashes is dropped instead of toggling the quoting. There are no
// comments and no other escapes. This code is plain C++ so that it can run anywhere.

// True for the six whitespace bytes of the classic locale: space, tab, line feed, vertical
// tab, form feed and carriage return. Bytes 0x80 to 0xFF are ordinary token bytes: the text
// is in an unknown code page, and isspace on a negative char value is undefined, so no
// locale is consulted.
bool IsSettingsWhitespace(char byte);

// The first position at or after `position` whose byte is zero or not whitespace.
const char* SkipSettingsWhitespace(const char* position);

// Reads the token that starts at `position` (a byte that is neither zero nor whitespace)
// and returns the position right after it; whitespace that ends the token is not consumed.
// `length` receives the token's length. When `out` is not null, the token's bytes and a
// terminating zero are written there (length + 1 bytes); when it is null nothing is stored.
const char* ReadSettingsToken(const char* position, char* out, size_t& length);

// The sum of (length + 1) over all tokens of `text`: the exact size of the block that the
// copying pass of TokenizeSettingsText fills. Stores nothing.
size_t MeasureSettingsTokens(const char* text);

// All tokens of the zero-terminated `text`, in order. The text is read twice: a measuring
// pass, then a copying pass into one scratch block of exactly the measured size. When that
// block cannot be allocated the result is empty, as for an unreadable file.
std::list<std::string> TokenizeSettingsText(const char* text);
