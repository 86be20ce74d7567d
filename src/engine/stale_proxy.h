#pragma once
// A Corvane that was killed or crashed while the system proxy pointed at its
// listener leaves the user offline: every browser asks a port where nothing
// answers. At the next start this is put right.
#include <string>

struct AppContext;
struct UserProxySettings;

// Whether the settings point at this program's own listener or PAC address:
// ProxyEnable 1 with ProxyServer "127.0.0.1:" + `localPort`, or an
// AutoConfigURL of one of the forms the program writes for its PAC file
// ("http://127.0.0.1:<port>/pac?t=<n>" from the local PAC server, or
// "file://" + `engineDirectory` + "pac").
bool PointsAtOwnProxy(const UserProxySettings& settings, const std::string& localPort,
                      const std::string& engineDirectory);

// After the configuration is loaded: when no brook.exe runs and the
// settings still point at this program, they are cleared as a stop clears
// them. Nothing else changes.
void ClearStaleSystemProxy(AppContext& app);
