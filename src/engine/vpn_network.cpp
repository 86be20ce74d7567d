#include "engine/vpn_network.h"

#include <vector>

#include "context/app_context.h"
#include "platform/engine_services.h"

namespace {

constexpr std::string_view kTapDescription = "TAP-Windows Adapter V9";

// The values the user typed on the VPN settings page are taken as they are;
// nothing is looked up and no TAP adapter is needed.
std::string TakeCustomGateway(AppContext& app) {
  RunState& run = app.run;
  run.vpnGateway = app.form.Text(Ctl::编辑框_VPN设置_默认网关);
  run.vpnSavedDns = app.form.Text(Ctl::编辑框_VPN设置_首选DNS);
  run.vpnConnectionName = app.form.Text(Ctl::编辑框_VPN设置_网卡名称);
  return run.vpnGateway.empty() ? std::string(kMarkerFillInGateway) : run.vpnGateway;
}

std::string DetectGateway(AppContext& app) {
  const std::vector<NetworkAdapter> adapters = app.engine->adapters.List();
  // The TAP adapter is recognised by its exact description; with several,
  // the last one listed.
  const NetworkAdapter* tap = nullptr;
  for (const NetworkAdapter& adapter : adapters)
    if (adapter.description == kTapDescription) tap = &adapter;
  if (!tap) return std::string(kMarkerNoTapAdapter);

  // The engine's own connection to the server must leave through the real
  // network: the last adapter with a gateway other than the TAP adapter.
  RunState& run = app.run;
  for (const NetworkAdapter& adapter : adapters) {
    if (&adapter == tap || adapter.gateway == "0.0.0.0") continue;
    run.vpnGateway = adapter.gateway;
    run.vpnSavedDns = adapter.preferredDns;
    run.vpnConnectionName = adapter.connectionName;
  }
  if (!run.vpnGateway.empty()) return run.vpnGateway;
  run.vpnGateway.clear();
  run.vpnSavedDns.clear();
  run.vpnConnectionName.clear();
  return std::string(kMarkerNoGateway);
}

}  // namespace

bool IsVpnMarker(std::string_view text) {
  return text == kMarkerFillInGateway || text == kMarkerNoTapAdapter || text == kMarkerNoGateway;
}

std::string PrepareVpnNetwork(AppContext& app) {
  if (app.form.Checked(Ctl::选择框_自定义默认网关)) return TakeCustomGateway(app);
  return DetectGateway(app);
}
