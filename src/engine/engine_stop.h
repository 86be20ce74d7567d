#pragma once
// Stopping the engine, and the same cleanup without the window when the
// program ends.
#include <cstdint>

struct AppContext;

// 按钮_停止 and the tray item "停止代理": ends the engine, gives the DNS back
// after a VPN run, clears the system proxy and shows the stopped look.
void StopEngine(AppContext& app);

// The engine ended by itself and is not started again: everything a stop
// does, and an error balloon with its exit code and last words instead of
// the stop's.
void GiveUpEngine(AppContext& app, std::uint32_t exitCode);

// The program ends (the window is destroyed, or Windows ends the session):
// ends the engine, gives the DNS back, and clears the system proxy unless
// direct mode is checked. Nothing is shown and nothing on the window changes.
void CleanupOnExit(AppContext& app);
