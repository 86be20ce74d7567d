#pragma once
// Before a VPN node starts: the TAP adapter must exist, and the gateway,
// connection name and DNS server of the real connection are recorded, so
// the engine gets the gateway and the stop can give the DNS back.
#include <string>
#include <string_view>

struct AppContext;

// Returned instead of a gateway when the preparation fails.
inline constexpr std::string_view kMarkerFillInGateway = "请填写默认网关";
inline constexpr std::string_view kMarkerNoTapAdapter = "没找到TAP虚拟网卡";
inline constexpr std::string_view kMarkerNoGateway = "没找到默认网关";

bool IsVpnMarker(std::string_view text);

// The gateway for the engine, or one of the three markers. Records the VPN
// gateway, saved DNS and connection name in the Run state.
std::string PrepareVpnNetwork(AppContext& app);
