#pragma once
// Whether the proxy settings written took effect: a machine-wide policy
// that makes Windows ignore the user's settings, and the LAN connection as
// WinINet reads it back. Each answers "" when all is well, else why not,
// in words for the user.
#include <optional>
#include <string>

#include "platform/internet_options.h"
#include "platform/registry.h"

// ProxySettingsPerUser=0 under the Internet Settings policies.
std::string MachineProxyPolicy(Registry& registry);

// The proxy and automatic-configuration groups read back against those set.
std::string ReadBackMismatch(const LanProxySettings& set, const std::optional<LanProxySettings>& readBack);

// The two groups of a connection's settings agree (the bypass list and the
// automatic detection aside).
bool SameProxyGroups(const LanProxySettings& a, const LanProxySettings& b);
