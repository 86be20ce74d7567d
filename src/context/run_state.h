#pragma once
// Whether Brook was started, with which node, and what the VPN preparation
// recorded. Written on the window's thread only.
#include <cstdint>
#include <string>
#include <vector>

// The protocol index of a VPN node ("vpn"): it changes the network and
// always listens as SOCKS5.
inline constexpr int kVpnProtocol = 2;

// Whether the engine runs is not kept here: it is the disabled state of
// 按钮_启动 (see IsRunning), so the window always shows the truth.
struct RunState {
  int protocol = -1;  // 0 client, 1 streamclient, 2 vpn; -1 when nothing runs
  std::string serverAddress;
  std::string serverPort;
  std::string password;
  std::string remark;  // kept after a stop
  std::string runMode = "HTTP";  // "HTTP" or "SOCKS5"
  // What the running engine listens as, "HTTP" or "SOCKS5": a VPN node
  // always SOCKS5, any other the Run mode of its launch. The Run mode may
  // change meanwhile; this does not. Empty while nothing runs.
  std::string listener;
  std::string vpnConnectionName;
  std::string vpnSavedDns;
  std::string vpnGateway;
  // A start waits for its engine while the window's messages are handled;
  // further start requests in that time are ignored.
  bool starting = false;
  // The command line as launched: a restart launches exactly this again,
  // whatever the editor holds by then.
  std::string commandLine;
  // Every launch, stop and exit takes a new number. News of an engine's end
  // counts only for the launch it came from, so it can never restart or
  // stop an engine the user has stopped or started since.
  unsigned launch = 0;
  // When the engine was started again by itself, in ticks of the last minute.
  std::vector<std::uint32_t> restarts;

  // Back to idle; the remark and the Run mode keep what they hold.
  void ResetToIdle() {
    protocol = -1;
    listener.clear();
    serverAddress.clear();
    serverPort.clear();
    password.clear();
    vpnConnectionName.clear();
    vpnSavedDns.clear();
    vpnGateway.clear();
    commandLine.clear();
    restarts.clear();
    ++launch;
  }
};
