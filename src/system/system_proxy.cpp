#include "system/system_proxy.h"

#include "context/app_context.h"
#include "context/listener.h"
#include "context/tray_menu_layout.h"
#include "system/system_services.h"
#include "system/blank_text.h"
#include "system/connection_records.h"
#include "system/pac_file.h"
#include "system/pac_mode.h"
#include "system/pac_server.h"
#include "system/user_proxy.h"

namespace {

const std::string kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kConnections = kInternetSettings + "\\Connections";
constexpr auto kUser = RegistryRoot::CurrentUser;

// WinINet's own counters: 1 in the default record, 30 in the per-entry ones.
constexpr std::uint32_t kDefaultRecordCounter = 1;
constexpr std::uint32_t kEntryRecordCounter = 30;

void CheckModeItem(Form& form, std::string_view checked) {
  for (std::string_view item : {menu::直连模式, menu::PAC模式, menu::全局模式})
    form.SetMenuChecked(item, item == checked);
}

void SaveProxyMode(AppContext& app, std::string_view mode) {
  app.config.Write("BasisConfig", "Proxy Mode", mode);
}

}  // namespace

void SelectDirectMode(AppContext& app) {
  CheckModeItem(app.form, menu::直连模式);
  // Direct access is the user's own settings.
  if (IsRunning(app.form)) GiveBackSystemProxy(app);
  SaveProxyMode(app, "0");
}

void SelectPacMode(AppContext& app) {
  CheckModeItem(app.form, menu::PAC模式);
  if (IsRunning(app.form)) ApplyPacMode(app);
  SaveProxyMode(app, "1");
}

void SelectGlobalMode(AppContext& app) {
  // The item is disabled then; a command that still arrives (a menu opened
  // before the switch) must not point browsers at a SOCKS5 listener.
  if (!GlobalModeAvailable(app)) return;
  CheckModeItem(app.form, menu::全局模式);
  if (IsRunning(app.form))
    TakeOverSystemProxy(app, "127.0.0.1:" + app.form.Text(Ctl::编辑框_本地端口), ProxyKind::Global);
  SaveProxyMode(app, "2");
}

void ApplySystemProxy(AppContext& app, const std::string& value, ProxyKind kind) {
  switch (kind) {
    case ProxyKind::Direct:
      SetAutoConfigUrl(app, "");
      SetProxyServer(app, "");
      break;
    case ProxyKind::Pac:
      SetProxyServer(app, "");
      SetAutoConfigUrl(app, value);
      break;
    case ProxyKind::Global:
      // Clearing the automatic configuration deletes every per-entry value,
      // so it goes first: dial-up and VPN connections keep the proxy record.
      SetAutoConfigUrl(app, "");
      SetProxyServer(app, value);
      break;
  }
  InternetOptions& options = app.system->internetOptions;
  LanProxySettings lan;
  if (kind == ProxyKind::Global && !RemoveBlanks(value).empty()) {
    lan.flags |= LanProxySettings::kProxy;
    lan.proxyServer = value;
  } else if (kind == ProxyKind::Pac && !RemoveBlanks(value).empty()) {
    lan.flags |= LanProxySettings::kAutoConfigUrl;
    lan.autoConfigUrl = value;
  }
  options.SetLanConnection(lan);
  options.SettingsChanged();
  options.Refresh();
}

void SetAutoConfigUrl(AppContext& app, const std::string& address) {
  Registry& registry = app.system->registry;
  if (!address.empty()) {
    registry.SetString(kUser, kInternetSettings, "AutoConfigURL", address);
  } else {
    DropGeneratedPacFile(app);
    registry.DeleteValue(kUser, kInternetSettings, "AutoConfigURL");
  }

  // Without phone-book entries the connection records are left alone.
  const std::vector<std::string> entries = app.system->phoneBook.EntryNames();
  if (entries.empty()) return;
  if (!RemoveBlanks(address).empty()) {
    registry.SetBinary(kUser, kConnections, "DefaultConnectionSettings",
                       AutoConfigRecord(kDefaultRecordCounter, address));
    for (const std::string& entry : entries)
      registry.SetBinary(kUser, kConnections, entry, AutoConfigRecord(kEntryRecordCounter, address));
  } else {
    registry.SetBinary(kUser, kConnections, "DefaultConnectionSettings",
                       AutoConfigRecord(kDefaultRecordCounter, ""));
    for (const std::string& entry : entries) registry.DeleteValue(kUser, kConnections, entry);
  }
}

void SetProxyServer(AppContext& app, const std::string& server) {
  Registry& registry = app.system->registry;
  if (TrimBlanks(server).empty()) {
    registry.SetNumber(kUser, kInternetSettings, "ProxyEnable", 0);
    registry.DeleteValue(kUser, kInternetSettings, "ProxyServer");
  } else {
    registry.SetNumber(kUser, kInternetSettings, "ProxyEnable", 1);
    registry.SetString(kUser, kInternetSettings, "ProxyServer", server);
  }

  const std::vector<std::string> entries = app.system->phoneBook.EntryNames();
  if (entries.empty()) return;
  const bool set = !RemoveBlanks(server).empty();
  for (const std::string& entry : entries) {
    if (set)
      registry.SetBinary(kUser, kConnections, entry, ProxyRecord(server));
    else
      registry.DeleteValue(kUser, kConnections, entry);
  }
}

void DropGeneratedPacFile(AppContext& app) {
  WithdrawPacFile(app);
  const std::string generated = GeneratedPacPath(app);
  if (app.platform.files.FileExists(generated)) app.platform.files.RemoveFile(generated);
}
