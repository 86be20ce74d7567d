#pragma once
// Figures the benchmarks and the memory checks read off a running program:
// a high-resolution clock and the program's committed memory.
#include <windows.h>

namespace e2e {

LARGE_INTEGER Now();
double MillisecondsSince(const LARGE_INTEGER& start);
// The commit charge of `process` (Wine leaves PrivateUsage at 0, so the
// pagefile figure stands in there).
SIZE_T CommittedBytes(HANDLE process);

}  // namespace e2e
