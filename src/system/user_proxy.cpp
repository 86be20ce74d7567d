#include "system/user_proxy.h"

#include "context/app_context.h"
#include "ini/safe_file_write.h"
#include "system/blank_text.h"
#include "system/logon_restore.h"
#include "system/pac_file.h"
#include "system/proxy_bypass.h"
#include "system/proxy_check.h"
#include "system/proxy_written_record.h"
#include "system/system_services.h"
#include "system/tray_report.h"

namespace {

const std::string kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr auto kUser = RegistryRoot::CurrentUser;

std::string SnapshotPath(AppContext& app) { return app.platform.location.ProgramDirectory() + "\\user-proxy.ini"; }

void ReportNotApplied(AppContext& app, const std::string& why) {
  ReportInBalloon(app, "系统代理未生效！", why, BalloonIcon::Error);
}

std::optional<std::string> ReadText(Registry& registry, const std::string& key, const std::string& name) {
  const auto value = registry.Read(kUser, key, name);
  if (!value || value->type == RegistryValue::Type::Number) return std::nullopt;
  return value->bytes;
}

ProxyValues ReadProxyValues(Registry& registry) {
  ProxyValues values;
  if (const auto enable = registry.Read(kUser, kInternetSettings, "ProxyEnable");
      enable && enable->type == RegistryValue::Type::Number)
    values.enable = enable->number;
  values.server = ReadText(registry, kInternetSettings, "ProxyServer");
  values.autoConfigUrl = ReadText(registry, kInternetSettings, "AutoConfigURL");
  return values;
}

// WinINet may write a value back as an empty text: for judging whose a
// group is, that is no value.
ProxyValues Judged(ProxyValues values) {
  if (values.server && values.server->empty()) values.server.reset();
  if (values.autoConfigUrl && values.autoConfigUrl->empty()) values.autoConfigUrl.reset();
  return values;
}

void WriteText(Registry& registry, const std::string& key, const std::string& name,
               const std::optional<std::string>& text) {
  if (!text)
    registry.DeleteValue(kUser, key, name);
  else
    registry.SetString(kUser, key, name, *text);
}

// What ApplySystemProxy leaves in the plain values.
ProxyValues WrittenBy(const std::string& value, ProxyKind kind) {
  const bool set = !TrimBlanks(value).empty();
  switch (kind) {
    case ProxyKind::Pac: return {0, std::nullopt, value.empty() ? std::nullopt : std::optional(value)};
    case ProxyKind::Global: return {set ? 1u : 0u, set ? std::optional(value) : std::nullopt, std::nullopt};
    case ProxyKind::Direct: break;
  }
  return {0, std::nullopt, std::nullopt};
}

// The LAN connection as WinINet keeps it; nothing where it keeps nothing.
std::optional<LanProxySettings> LanNow(AppContext& app) {
  InternetOptions& options = app.system->internetOptions;
  if (!options.KeepsConnectionSettings()) return std::nullopt;
  return options.QueryLanConnection();
}

// The groups that are this program's: by what this copy wrote, by what
// any copy wrote (the per-user record), by the forms its values take, and
// above all by the LAN connection still holding what this copy set there.
OwnValues OwnGroups(AppContext& app, const ProxyValues& current, const UserProxySnapshot* snapshot,
                    const std::optional<LanProxySettings>& lanNow) {
  if (snapshot && snapshot->lanWritten && lanNow && SameProxyGroups(*lanNow, *snapshot->lanWritten))
    return {true, true};
  const ProxyValues judged = Judged(current);
  OwnValues own = OwnValuesOf(judged, snapshot ? &snapshot->written : nullptr, app.form.Text(Ctl::编辑框_本地端口),
                              app.engineDirectory);
  const OwnValues anyCopy = WrittenByAnyCopy(app.system->registry, judged);
  own.proxy = own.proxy || anyCopy.proxy;
  own.autoConfig = own.autoConfig || anyCopy.autoConfig;
  return own;
}

// The settings as they are now, the program's own values left out.
UserProxySnapshot SnapshotOfNow(AppContext& app) {
  Registry& registry = app.system->registry;
  InternetOptions& options = app.system->internetOptions;
  const ProxyValues current = ReadProxyValues(registry);
  const OwnValues own = OwnGroups(app, current, nullptr, std::nullopt);
  UserProxySnapshot snapshot;
  snapshot.saved = WithoutOwnValues(current, own);
  snapshot.bypass = ReadText(registry, kInternetSettings, "ProxyOverride");
  if (auto lan = options.QueryLanConnection()) snapshot.lan = WithoutOwnValues(*lan, own);
  // Settings that may hold the program's own address are not the user's.
  const bool clean = !own.proxy && !own.autoConfig;
  for (const std::string& entry : app.system->phoneBook.EntryNames())
    snapshot.entries.emplace_back(entry, clean ? options.QueryConnection(entry) : std::nullopt);
  return snapshot;
}

std::optional<UserProxySnapshot> LoadSnapshot(AppContext& app) {
  const FileContent file = app.platform.files.ReadFile(SnapshotPath(app));
  if (file.status != ReadStatus::Ok) return std::nullopt;
  std::vector<std::string> rejected;
  auto snapshot = ParseSnapshot(file.bytes, &rejected);
  if (snapshot && !rejected.empty()) {
    std::string names;
    for (const std::string& name : rejected) names += (names.empty() ? "" : "、") + name;
    ReportInBalloon(app, "保存的代理设置有误！",
                    SnapshotPath(app) + " 中这些值无效，已略过：" + names, BalloonIcon::Error);
  }
  return snapshot;
}

// Written as config.ini is, so a crash leaves the old copy or the new.
FileResult StoreSnapshot(AppContext& app, const UserProxySnapshot& snapshot) {
  return SafeFileWrite(app.platform.files, SnapshotPath(app), SerializeSnapshot(snapshot), /*patient=*/false);
}

// Puts the saved values back into the groups that are still the program's.
// Without a snapshot those groups are cleared as ApplySystemProxy clears.
void Restore(AppContext& app, const UserProxySnapshot* snapshot, OwnValues own) {
  Registry& registry = app.system->registry;
  if (!snapshot) {
    if (own.proxy) SetProxyServer(app, "");
    if (own.autoConfig) SetAutoConfigUrl(app, "");
    return;
  }
  const ProxyValues& saved = snapshot->saved;
  if (own.proxy) {
    registry.SetNumber(kUser, kInternetSettings, "ProxyEnable", saved.enable.value_or(0));
    WriteText(registry, kInternetSettings, "ProxyServer", saved.server);
  }
  // The merged list global mode wrote goes, also when the user has since
  // changed the proxy server.
  if (own.proxy || ReadText(registry, kInternetSettings, "ProxyOverride") == WithLocalBypass(snapshot->bypass))
    WriteText(registry, kInternetSettings, "ProxyOverride", snapshot->bypass);
  if (own.autoConfig) SetAutoConfigUrl(app, saved.autoConfigUrl.value_or(""));
}

// The LAN connection given back: as it is now, with only the groups given
// back changed to the saved ones, and the automatic detection and the
// bypass list as the user had them.
LanProxySettings GivenBackLan(const std::optional<LanProxySettings>& lanNow, const ProxyValues& plainNow,
                              const UserProxySnapshot* snapshot, OwnValues own) {
  LanProxySettings lan = lanNow ? *lanNow : LanViewOf(plainNow);
  const std::optional<LanProxySettings> saved = snapshot ? snapshot->lan : std::nullopt;
  const LanProxySettings users = saved.value_or(LanProxySettings{});
  if (saved) {
    lan.flags = (lan.flags & ~LanProxySettings::kAutoDetect) | (saved->flags & LanProxySettings::kAutoDetect);
    lan.bypass = saved->bypass;
  }
  if (own.proxy) {
    lan.flags = (lan.flags & ~LanProxySettings::kProxy) | (users.flags & LanProxySettings::kProxy);
    lan.proxyServer = users.proxyServer;
  }
  if (own.autoConfig) {
    lan.flags = (lan.flags & ~LanProxySettings::kAutoConfigUrl) | (users.flags & LanProxySettings::kAutoConfigUrl);
    lan.autoConfigUrl = users.autoConfigUrl;
  }
  lan.flags |= LanProxySettings::kDirect;
  return lan;
}

// Each phone-book entry gets its saved settings back while the group the
// program wrote into it is still the program's; without a snapshot, or
// for an entry saved without settings, it is cleared.
void RestoreEntries(AppContext& app, const UserProxySnapshot* snapshot, OwnValues own) {
  InternetOptions& options = app.system->internetOptions;
  const ProxyValues written = snapshot ? snapshot->written : ProxyValues{};
  const bool wroteProxy = written.server.has_value(), wroteAutoConfig = written.autoConfigUrl.has_value();
  const bool stillOwn = (wroteProxy || wroteAutoConfig) ? (wroteProxy && own.proxy) || (wroteAutoConfig && own.autoConfig)
                                                        : own.proxy || own.autoConfig;
  if (!stillOwn) return;
  if (!snapshot) {
    for (const std::string& entry : app.system->phoneBook.EntryNames()) options.SetConnection(entry, LanProxySettings{});
    return;
  }
  for (const auto& [entry, settings] : snapshot->entries) options.SetConnection(entry, settings.value_or(LanProxySettings{}));
}

}  // namespace

bool TakeOverSystemProxy(AppContext& app, const std::string& value, ProxyKind kind) {
  // Under that policy Windows reads none of the user's settings: nothing
  // written here would take effect.
  if (const std::string policy = MachineProxyPolicy(app.system->registry); !policy.empty()) {
    ReportNotApplied(app, policy);
    return false;
  }
  std::optional<UserProxySnapshot>& held = app.system->userProxy;
  const bool fresh = !held;
  // A copy a killed run left behind holds the user's settings; the values
  // now in place may be that run's.
  if (!held) held = LoadSnapshot(app);
  if (!held) held = SnapshotOfNow(app);
  held->written = WrittenBy(value, kind);
  held->lanWritten = ConnectionSettingsFor(value, kind, held->bypass);
  // Without the saved copy on disk a crash would lose the user's settings
  // for good, so the program's do not go in.
  if (const FileResult stored = StoreSnapshot(app, *held); !stored) {
    // A mode already in place from earlier in the run goes too: the menu
    // will show the user's own settings.
    if (fresh)
      held.reset();
    else
      GiveBackSystemProxy(app);
    ReportNotApplied(app, "无法保存用户原来的代理设置（" + stored.file + "：" + stored.reason + "），未更改系统代理。");
    return false;
  }
  RecordWrittenValues(app.system->registry, held->written);
  ArmLogonRestore(app);
  if (const std::string why = ApplySystemProxy(app, value, kind); !why.empty()) {
    GiveBackSystemProxy(app);
    ReportNotApplied(app, why);
    return false;
  }
  return true;
}

void GiveBackSystemProxy(AppContext& app) {
  std::optional<UserProxySnapshot> snapshot = std::exchange(app.system->userProxy, std::nullopt);
  if (!snapshot) snapshot = LoadSnapshot(app);
  const UserProxySnapshot* saved = snapshot ? &*snapshot : nullptr;
  Registry& registry = app.system->registry;
  const std::optional<LanProxySettings> lanNow = LanNow(app);
  const OwnValues own = OwnGroups(app, ReadProxyValues(registry), saved, lanNow);
  Restore(app, saved, own);
  RestoreEntries(app, saved, own);
  ForgetWrittenValues(registry, own);
  DisarmLogonRestore(app);
  // The program's PAC file is no one's any more. (Without a snapshot the
  // program's address, if any, was cleared with the file.)
  if (snapshot) {
    DropGeneratedPacFile(app);
    app.platform.files.RemoveFile(SnapshotPath(app));
  }
  if (!own.proxy && !own.autoConfig) return;

  InternetOptions& options = app.system->internetOptions;
  options.SetLanConnection(GivenBackLan(lanNow, ReadProxyValues(registry), saved, own));
  options.SettingsChanged();
  options.Refresh();
}
