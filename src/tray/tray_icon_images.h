#pragma once
// The two tray images, each a complete 1150-byte ICO file with one 16x16,
// 32-bit entry. Drawn by tools/make_icons.py, which also writes
// res/icons/stopped.ico and res/icons/running.ico.
#include <span>

std::span<const unsigned char> StoppedIconData();  // teal: the engine is stopped
std::span<const unsigned char> RunningIconData();  // blue: the engine runs
