#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <vector>

// Reading of settings text: a byte sequence of tokens separated by whitespace. A token may be
// written in double quotes to hold blanks; a closing quote ends the token even when no
// whitespace follows. Backslashes are always kept; a quote after an odd run of backslashes is
// dropped instead of toggling the quoting. There are no comments and no other escapes.
//
// The game reads the same file, by the same rules but for lines: to it a line end is just
// whitespace, quotes span lines, a zero byte ends the text, and keys and values alternate by
// position through the whole file. The launcher reads a file as the game reads it wherever the
// game's reading is sound, and departs only where the game's reading runs away, and then as
// little as possible:
//   - a quote left open that would swallow the lines after it: one that the game closes only at
//     a quote followed by more of a token (the next line's opening quote, as after "C:\Mods\",
//     written by a writer that escapes nothing, or after a stray quote in a value), or never.
//     It closes at the end of its own line instead and takes nothing of the next line. A quoted
//     token that closes on a later line with whitespace or the end after its closing quote is
//     one token, line ends and all, as the game reads it;
//   - zero bytes: a crash or a power cut can leave runs of them where text was. A zero byte
//     reads as a line end, and everything after it is still read;
//   - a line whose extra tokens would shift every later pair (SettingsPairs.h).
// A UTF-8 byte-order mark at the start of the text is skipped; the game would read it as part
// of the first key. This code is plain C++ so that it can run anywhere.

// True for the whitespace bytes: the six of the classic locale (space, tab, line feed,
// vertical tab, form feed and carriage return) and the zero byte. Bytes 0x80 to 0xFF are
// ordinary token bytes: the text is in an unknown code page, and isspace on a negative char
// value is undefined, so no locale is consulted.
bool IsSettingsWhitespace(char byte);

// True for the bytes that end a line: line feed, carriage return and the zero byte.
bool IsSettingsLineEnd(char byte);

// The first position from `position` up to `end` whose byte is not whitespace, or `end`.
const char* SkipSettingsWhitespace(const char* position, const char* end);

// Reads the token that starts at `position` (before `end`, on a byte that is not whitespace)
// and returns the position right after it; whitespace that ends the token is not consumed.
// `length` receives the token's length. When `out` is not null, the token's bytes and a
// terminating zero are written there (length + 1 bytes); when it is null nothing is stored.
const char* ReadSettingsToken(const char* position, const char* end, char* out, size_t& length);

// The sum of (length + 1) over all tokens of the `size` bytes at `text`: the exact size of the
// block that the copying pass of TokenizeSettingsText fills. `count`, when not null, receives
// the number of tokens. Stores nothing.
size_t MeasureSettingsTokens(const char* text, size_t size, size_t* count = nullptr);

// The most tokens a settings text may hold. The launcher is a 32-bit program: a token in the
// store takes about 48 bytes (list node and string), and a save holds two stores at once (the
// one read when the sheet opened and the file read again) besides the file's bytes. 8 Mi
// tokens keep that near 1 GiB, within the 2 GiB a 32-bit program has, while files of ordinary
// pairs (about ten bytes a token) still load up to their size limit of 64 MiB.
constexpr size_t kMaxSettingsTokens = size_t{8} << 20;

// All tokens of the `size` bytes at `text`, in order, into `tokens`. The text is read twice: a
// measuring pass, then a copying pass into one scratch block of exactly the measured size.
// `lineStarts`, when not null, receives one entry a token: true when the token begins a line,
// that is when it is the first token or a line end stands in the whitespace before it (a line
// end inside a token does not count). False, with `tokens` empty, when the text holds more
// than kMaxSettingsTokens tokens or memory runs out: the text counts as unreadable then.
bool TokenizeSettingsText(const char* text, size_t size, std::list<std::string>& tokens,
                          std::vector<bool>* lineStarts = nullptr);

// The same for a std::string.
inline bool TokenizeSettingsText(const std::string& text, std::list<std::string>& tokens,
                                 std::vector<bool>* lineStarts = nullptr)
{
    return TokenizeSettingsText(text.data(), text.size(), tokens, lineStarts);
}
