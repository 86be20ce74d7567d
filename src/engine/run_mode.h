#pragma once
// The local listener speaks HTTP (the engine gets --http) or SOCKS5.
struct AppContext;

// The tray item "HTTP方式启动": toggles the Run mode and saves it. SOCKS5
// cannot carry the Windows system proxy, so it withdraws global mode (a
// checked global mode gives way to direct). A running engine keeps its
// mode until it is started again.
void SwitchRunMode(AppContext& app);
