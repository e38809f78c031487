#pragma once

#include <windows.h>

#include <functional>

// Asks `condition` again and again until it holds; false when it still does not after
// `timeoutMs`. Waits of the driver and of the tests go through here, so that each waits for
// what it needs and no longer, and only a real fault reaches the timeout.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
