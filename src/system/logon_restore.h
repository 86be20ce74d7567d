#pragma once
// The safety net for a crash or a power cut: while the program's proxy
// settings are in place, Windows is asked (RunOnce, per user) to run this
// program once at the next logon with a switch that only gives the user's
// own settings back. So a user whose Corvane never starts again is still
// not left offline.
#include <string_view>

struct AppContext;

// The switch, on the program's command line after its quoted path.
inline constexpr std::string_view kRestoreProxySwitch = "/restore-proxy";

// Before the program's settings go in: the RunOnce value names this very
// executable, quoted, with the switch.
void ArmLogonRestore(AppContext& app);
// Once the settings are given back.
void DisarmLogonRestore(AppContext& app);
