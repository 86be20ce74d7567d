#pragma once
// Starting the node in the window's edit controls as a hidden Brook client.
struct AppContext;

// 按钮_启动, the tray item "启动代理", and the automatic start at launch
// (quiet: no success balloon). Half a second after the launch the process
// launched must still run; then the window and the tray show the running
// look and the checked proxy mode is applied. A failure balloon carries the
// last line the engine printed. A request that arrives while
// a start waits for its engine is ignored.
void StartEngine(AppContext& app, bool quiet);
