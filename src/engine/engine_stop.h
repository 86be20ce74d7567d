#pragma once
// Stopping the engine, and the same cleanup without the window when the
// program ends.
struct AppContext;

// 按钮_停止 and the tray item "停止代理": ends the engine, gives the DNS back
// after a VPN run, clears the system proxy and shows the stopped look.
void StopEngine(AppContext& app);

// The program ends (the window is destroyed, or Windows ends the session):
// ends the engine, gives the DNS back, and clears the system proxy unless
// direct mode is checked. Nothing is shown and nothing on the window changes.
void CleanupOnExit(AppContext& app);
