#pragma once

#include <list>
#include <string>
#include <vector>

// Keys and values of a settings text alternate by position: the first token is a key, the
// second its value, the third the next key, and so on. Every writer writes one pair a line, so
// a token that begins a line is a key, with one exception: a key that ends its line gets the
// next line as its value when that line holds that one token, as the game reads it. Otherwise
// one malformed line (a value with a blank and no quotes, a key without a value) does not shift
// the pairs after it, where the game's reading would shift every one of them. This code is
// plain C++ so that it can run anywhere.

// Reads `tokens` as pairs, with `lineStarts` telling for each token whether it begins a line
// (TokenizeSettingsText). A key whose line ends before its value, and whose next line holds
// more than one token, has no value: it is removed, so that the token beginning the next line
// stays a key, and a take of that key gives its default, as for a key that is the last token.
// Afterwards keys and values alternate by position again. A text in which every line holds
// whole pairs is left as it is.
void DropKeysWithoutValues(std::list<std::string>& tokens, const std::vector<bool>& lineStarts);

// Takes the first pair whose key equals `key` (byte for byte) out of `tokens` and moves its
// value into `value`. Only keys are compared: a value that happens to equal `key` is never
// taken for it, and its pair stays whole. A key that is the last token has no value: it is
// removed, and the result is false. False, and `tokens` unchanged, when no key equals `key`.
bool TakeSettingsPair(std::list<std::string>& tokens, const std::string& key, std::string& value);
