#pragma once

#include <list>
#include <string>

// Keys and values of a settings text alternate by position: the first token is a key, the
// second its value, the third the next key, and so on. This code is plain C++ so that it can
// run anywhere.

// Takes the first pair whose key equals `key` (byte for byte) out of `tokens` and moves its
// value into `value`. Only keys are compared: a value that happens to equal `key` is never
// taken for it, and its pair stays whole. A key that is the last token has no value: it is
// removed, and the result is false. False, and `tokens` unchanged, when no key equals `key`.
bool TakeSettingsPair(std::list<std::string>& tokens, const std::string& key, std::string& value);
