#pragma once

#include <string>
#include <vector>

// The readable source of a string database, UTF-8, one entry per line:
//
//   # A comment: a line whose first non-blank character is '#'.
//   Key = Text
//
// Blank lines are ignored. The key is made of ASCII letters, digits, '_' and '.'; blanks
// around the key and the text are dropped. The text runs to the end of the line and may be
// empty. In the text, "\n" stands for a line break, "\s" for a space (to keep one at either
// end) and "\\" for a backslash; any other backslash is an error. A UTF-8 byte order mark at
// the start of the file is skipped, and lines may end in LF or CR LF.

struct StringSourceEntry
{
    std::string key;
    std::u16string text;
    unsigned line;
};

struct StringSourceError
{
    unsigned line;
    std::string message;
};

struct StringSource
{
    std::vector<StringSourceEntry> entries;
    // Every bad line, in line order; the entries are usable only when this is empty.
    std::vector<StringSourceError> errors;
};

StringSource ParseStringSource(const std::string& content);
