#pragma once
// The tray item "账号自检": fetch a test page through the running engine's
// local HTTP proxy on a worker thread and tell in a balloon whether the
// account carries traffic and how long the exchange took.
struct AppContext;

// The tray item's handler, on the window's thread. Refuses a VPN node;
// otherwise disables the item and starts the check on a worker thread.
void StartSelfCheck(AppContext& app);
// The worker thread's body. Enables the tray item again on every path.
void AccountSelfCheck(AppContext& app);
