#pragma once
// The user's own proxy settings around this program's: saved before the
// first change of a run, given back where the program lets go of the
// system proxy, and recovered at the next start after a crash.
#include <string>

#include "system/system_proxy.h"

struct AppContext;

// PAC or global settings go in (ApplySystemProxy), after the user's
// settings as they are now are saved, durably, unless a copy is held
// already (this run's, or one a killed run left behind). False, after an
// error balloon that says why, when the settings did not go in or did not
// take effect; the user's own are then in place.
bool TakeOverSystemProxy(AppContext& app, const std::string& value, ProxyKind kind);

// Where the program clears the system proxy (stop, exit, the end of the
// session, direct mode while running, a VPN start): each group of values
// that is still the program's gets the user's saved values back, or is
// cleared when nothing was saved; a group the user changed meanwhile stays
// as the user set it. The saved copy is then dropped. Also the startup's
// recovery, which finds a copy left by a killed run on disk.
void GiveBackSystemProxy(AppContext& app);
