#pragma once

#include "settings/SettingsFileState.h"

#include <cstddef>
#include <list>
#include <string>

// The content of a settings text: a flat, ordered list of narrow tokens in which keys and
// values alternate by position. Callers take the keys they own out of it; whatever nobody
// took stays, in file order, to be written back. Tokens are compared byte by byte.
class CSettingsFile
{
public:
    CSettingsFile() = default;

    // The tokens of the file at `path` (ANSI code page) in file order. Never fails: a file
    // that cannot be opened, sized or read gives an empty store.
    static CSettingsFile Load(const char* path);
    // The same into `settings`, and false when a file exists at `path` but could not be
    // opened, sized or read, is too big to be read or held in memory, cannot be converted
    // (FromBytes), or it or one of its two folders is a link (CHeldSettingsFolder): the store is
    // then empty and the file must not be overwritten with it. A missing file (or folder) gives an
    // empty store and true. A program that holds the file for a moment is waited for
    // (CBriefHoldRetry).
    static bool Load(const char* path, CSettingsFile& settings);
    // The same, and what the file held into `state`, to tell at a later save whether another
    // program has changed it since.
    static bool Load(const char* path, CSettingsFile& settings, SettingsFileState& state);
    // The tokens of the `size` bytes of a settings file into `settings`, read as their writer
    // meant them: a file that a text editor saved as "Unicode" (UTF-16, either byte order, with
    // a byte-order mark or without: IsUnmarkedUtf16) is converted to the ANSI code page first.
    // False, with `settings` empty, when the code page cannot hold one of its characters
    // (nothing is guessed), the text holds too many tokens, or memory runs out.
    static bool FromBytes(const char* bytes, size_t size, CSettingsFile& settings);

    // Each take looks for the first key equal to `key`, comparing only the tokens that stand
    // in key positions (the first, third, fifth...: see DropKeysWithoutValues), and removes it
    // together with the token after it, the value. An absent
    // key gives the default and changes nothing; a key that is the last token is removed and gives
    // the default.

    // The value unchanged. A null default counts as "".
    std::string TakeString(const char* key, const char* defaultValue);
    // atoi of the value: 0 when it does not start with a number.
    int TakeInt(const char* key, int defaultValue);
    // True only when the value is exactly "1".
    bool TakeBool(const char* key, bool defaultValue);
    // The value unchanged into `value`; false, and `value` untouched, when the key is absent
    // or has no value.
    bool TakeValue(const char* key, std::string& value);
    // The first pair appended to `text` as one settings line, as it was stored, and every later
    // pair with that key taken too, so that none is written back after a page's own line: the
    // game reads the first. False, and nothing appended, when the key is absent or has no value.
    bool TakeLine(const char* key, std::string& text);
    // True when any token equals `key`, wherever it stands: the game, which takes the first
    // token equal to a key, would find it there.
    bool Holds(const char* key) const;

    // The tokens still in the store, first to last.
    const std::list<std::string>& Tokens() const { return m_tokens; }

private:
    std::list<std::string> m_tokens;
};
