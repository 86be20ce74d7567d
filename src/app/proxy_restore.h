#pragma once
// The program started by the logon's RunOnce value (see
// system/logon_restore.h): it only gives the user's proxy settings back, as
// the startup's recovery does, and ends.
struct AppContext;

// Does nothing while another copy runs (it owns the settings then); the
// settings that are no longer the program's stay as they are. Shows nothing.
void RunProxyRestore(AppContext& app);
