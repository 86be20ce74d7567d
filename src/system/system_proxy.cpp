#include "system/system_proxy.h"

#include "context/app_context.h"
#include "context/listener.h"
#include "context/tray_menu_layout.h"
#include "system/system_services.h"
#include "system/blank_text.h"
#include "system/proxy_bypass.h"
#include "system/proxy_check.h"
#include "system/pac_file.h"
#include "system/pac_mode.h"
#include "system/pac_server.h"
#include "system/user_proxy.h"

namespace {

const std::string kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr auto kUser = RegistryRoot::CurrentUser;

void CheckModeItem(Form& form, std::string_view checked) {
  for (std::string_view item : {menu::直连模式, menu::PAC模式, menu::全局模式})
    form.SetMenuChecked(item, item == checked);
}

void SaveProxyMode(AppContext& app, std::string_view mode) {
  app.config.Write("BasisConfig", "Proxy Mode", mode);
}

// A mode that did not take effect is not claimed: the user's own settings
// are what is in place, and that is what direct mode shows. The saved mode
// key is left as it is.
void ShowUsersOwnSettings(AppContext& app) { CheckModeItem(app.form, menu::直连模式); }

}  // namespace

void SelectDirectMode(AppContext& app) {
  CheckModeItem(app.form, menu::直连模式);
  // Direct access is the user's own settings.
  if (IsRunning(app.form)) GiveBackSystemProxy(app);
  SaveProxyMode(app, "0");
}

void SelectPacMode(AppContext& app) {
  CheckModeItem(app.form, menu::PAC模式);
  // A mode the system refused is not claimed: the user's own settings show.
  if (IsRunning(app.form) && ApplyPacMode(app) == PacModeOutcome::Refused) return ShowUsersOwnSettings(app);
  SaveProxyMode(app, "1");
}

void SelectGlobalMode(AppContext& app) {
  // The item is disabled then; a command that still arrives (a menu opened
  // before the switch) must not point browsers at a SOCKS5 listener.
  if (!GlobalModeAvailable(app)) return;
  CheckModeItem(app.form, menu::全局模式);
  if (IsRunning(app.form) &&
      !TakeOverSystemProxy(app, "127.0.0.1:" + app.form.Text(Ctl::编辑框_本地端口), ProxyKind::Global))
    return ShowUsersOwnSettings(app);
  SaveProxyMode(app, "2");
}

LanProxySettings ConnectionSettingsFor(const std::string& value, ProxyKind kind,
                                       const std::optional<std::string>& usersBypass) {
  LanProxySettings settings;
  if (RemoveBlanks(value).empty()) return settings;
  if (kind == ProxyKind::Global) {
    settings.flags |= LanProxySettings::kProxy;
    settings.proxyServer = value;
    settings.bypass = WithLocalBypass(usersBypass);
  } else if (kind == ProxyKind::Pac) {
    settings.flags |= LanProxySettings::kAutoConfigUrl;
    settings.autoConfigUrl = value;
  }
  return settings;
}

std::string ApplySystemProxy(AppContext& app, const std::string& value, ProxyKind kind) {
  Registry& registry = app.system->registry;
  // The user's own list: the saved copy's while the program's is in place.
  const std::optional<UserProxySnapshot>& held = app.system->userProxy;
  std::optional<std::string> usersBypass = held ? held->bypass : std::nullopt;
  if (!held)
    if (auto now = registry.Read(kUser, kInternetSettings, "ProxyOverride"); now && now->type == RegistryValue::Type::String)
      usersBypass = now->bytes;
  const LanProxySettings settings = ConnectionSettingsFor(value, kind, usersBypass);

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
      SetAutoConfigUrl(app, "");
      SetProxyServer(app, value);
      break;
  }
  if (settings.bypass)
    registry.SetString(kUser, kInternetSettings, "ProxyOverride", *settings.bypass);
  else if (held && held->bypass)
    registry.SetString(kUser, kInternetSettings, "ProxyOverride", *held->bypass);
  else if (held)
    registry.DeleteValue(kUser, kInternetSettings, "ProxyOverride");

  InternetOptions& options = app.system->internetOptions;
  std::string failed;
  if (!options.SetLanConnection(settings)) failed = "局域网连接";
  // Dial-up and VPN entries get the same settings through the same call.
  for (const std::string& entry : app.system->phoneBook.EntryNames())
    if (!options.SetConnection(entry, settings) && failed.empty()) failed = "连接“" + entry + "”";
  if (!options.SettingsChanged() && failed.empty()) failed = "设置已更改的通知";
  if (!options.Refresh() && failed.empty()) failed = "刷新设置";
  // Wine keeps nothing of the per-connection call and answers the refresh
  // with a stub's failure: there neither the results nor a read-back say
  // anything.
  if (!options.KeepsConnectionSettings()) return "";
  if (!failed.empty()) return "系统拒绝了代理设置（InternetSetOption 失败：" + failed + "）。";
  return ReadBackMismatch(settings, options.QueryLanConnection());
}

void SetAutoConfigUrl(AppContext& app, const std::string& address) {
  Registry& registry = app.system->registry;
  if (!address.empty()) {
    registry.SetString(kUser, kInternetSettings, "AutoConfigURL", address);
  } else {
    DropGeneratedPacFile(app);
    registry.DeleteValue(kUser, kInternetSettings, "AutoConfigURL");
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
}

void DropGeneratedPacFile(AppContext& app) {
  WithdrawPacFile(app);
  const std::string generated = GeneratedPacPath(app);
  if (app.platform.files.FileExists(generated)) app.platform.files.RemoveFile(generated);
}
