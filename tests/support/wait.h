// Waiting in tests: other programs (the launcher, the installer, Wine) act when they get to it, so a
// test waits for what it expects to see, with a deadline, instead of sleeping for a guessed time.
#pragma once

#include <windows.h>

#include <functional>

// Polls done every 50 ms until it answers true (then true) or timeoutMs has passed (then false).
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 30000);
