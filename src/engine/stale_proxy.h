#pragma once
// A Corvane that was killed or crashed while the system proxy pointed at its
// listener leaves the user offline: every browser asks a port where nothing
// answers. At the next start this is put right.
struct AppContext;

// After the configuration is loaded and before any worker starts, whatever
// else runs: the user's settings saved by the killed run come back;
// without them, ProxyEnable/ProxyServer are cleared when they point at the
// local listener, AutoConfigURL when it is one of the program's PAC
// addresses, each on its own. Nothing else changes.
void ClearStaleSystemProxy(AppContext& app);
