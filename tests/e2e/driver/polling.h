#pragma once
// Waiting for the program under Wine: every wait polls a condition, so a fast
// run stays fast, and gives up after a generous time-out, since Wine can take
// seconds to start a process the first time.
#include <windows.h>

#include <functional>

namespace e2e {

// Time-outs in milliseconds.
inline constexpr DWORD kStartTimeout = 60000;   // a process up to its window
inline constexpr DWORD kActionTimeout = 15000;  // one reaction of a running program

// True as soon as `condition` holds; false when it still fails after `timeout`.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout, DWORD interval = 50);

}  // namespace e2e
