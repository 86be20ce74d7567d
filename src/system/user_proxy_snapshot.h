#pragma once
// The user's own proxy settings, saved before this program first changes
// them in a run and given back where it would otherwise clear them, and
// the rules that say which values are still this program's to give back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/internet_options.h"

// The plain per-user values under Internet Settings; nothing = missing.
struct ProxyValues {
  std::optional<std::uint32_t> enable;       // ProxyEnable
  std::optional<std::string> server;         // ProxyServer
  std::optional<std::string> autoConfigUrl;  // AutoConfigURL
  bool operator==(const ProxyValues&) const = default;
};

struct UserProxySnapshot {
  ProxyValues saved;
  std::optional<std::string> bypass;    // ProxyOverride
  std::optional<LanProxySettings> lan;  // the LAN connection as WinINet showed it
  // Each phone-book entry's settings as WinINet showed them; nothing = none.
  std::vector<std::pair<std::string, std::optional<LanProxySettings>>> entries;
  // What this program wrote last: values still equal to these are its own.
  ProxyValues written;
  // What it set on the LAN connection; while the connection still holds
  // it, both groups are the program's, whatever the plain values say.
  std::optional<LanProxySettings> lanWritten;
};

// The file beside config.ini that keeps a snapshot across a crash. Every
// text is stored as hex, so blanks, quotes and GBK bytes come back exactly.
std::string SerializeSnapshot(const UserProxySnapshot& snapshot);
// Nothing when the bytes hold no snapshot. Only the entries present are
// read, and a value that could not have come from Windows (a proxy server
// that is no host and port, an automatic configuration address that is not
// http, https or file) is left out and named in `rejected`.
std::optional<UserProxySnapshot> ParseSnapshot(std::string_view bytes, std::vector<std::string>* rejected = nullptr);

// "host:port", or "scheme=host:port" items joined by ";".
bool IsProxyServerText(std::string_view text);
// An http, https or file address.
bool IsAutoConfigAddress(std::string_view text);

// Which of the two groups of values are this program's: the proxy server
// (ProxyEnable with ProxyServer) and the automatic configuration address.
struct OwnValues {
  bool proxy = false;
  bool autoConfig = false;
};
// A group is this program's when it still holds what `written` says (when
// given), or when it points at the local listener or at one of the
// program's PAC addresses. Anything else the user (or another program) set.
OwnValues OwnValuesOf(const ProxyValues& current, const ProxyValues* written, std::string_view localPort,
                      std::string_view engineDirectory);

// The values as they are, with the program's own groups cleared: what is
// saved as the user's.
ProxyValues WithoutOwnValues(const ProxyValues& current, OwnValues own);
LanProxySettings WithoutOwnValues(LanProxySettings lan, OwnValues own);

// The LAN connection's settings that agree with the plain values.
LanProxySettings LanViewOf(const ProxyValues& values);
