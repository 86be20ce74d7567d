#include "system/user_proxy.h"

#include "context/app_context.h"
#include "ini/safe_file_write.h"
#include "system/blank_text.h"
#include "system/logon_restore.h"
#include "system/pac_file.h"
#include "system/system_services.h"

namespace {

const std::string kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kConnections = kInternetSettings + "\\Connections";
constexpr auto kUser = RegistryRoot::CurrentUser;

std::string SnapshotPath(AppContext& app) { return app.platform.location.ProgramDirectory() + "\\user-proxy.ini"; }

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

void WriteText(Registry& registry, const std::string& key, const std::string& name,
               const std::optional<std::string>& text, bool binary = false) {
  if (!text)
    registry.DeleteValue(kUser, key, name);
  else if (binary)
    registry.SetBinary(kUser, key, name, *text);
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

// The settings as they are now, the program's own values left out.
UserProxySnapshot SnapshotOfNow(AppContext& app) {
  Registry& registry = app.system->registry;
  const ProxyValues current = ReadProxyValues(registry);
  const OwnValues own = OwnValuesOf(current, nullptr, app.form.Text(Ctl::编辑框_本地端口), app.engineDirectory);
  UserProxySnapshot snapshot;
  snapshot.saved = WithoutOwnValues(current, own);
  snapshot.bypass = ReadText(registry, kInternetSettings, "ProxyOverride");
  if (auto lan = app.system->internetOptions.QueryLanConnection()) snapshot.lan = WithoutOwnValues(*lan, own);
  // Records that may hold the program's own address are not the user's.
  const bool clean = !own.proxy && !own.autoConfig;
  for (const std::string& entry : app.system->phoneBook.EntryNames())
    snapshot.entries.emplace_back(entry, clean ? ReadText(registry, kConnections, entry) : std::nullopt);
  return snapshot;
}

std::optional<UserProxySnapshot> LoadSnapshot(AppContext& app) {
  const FileContent file = app.platform.files.ReadFile(SnapshotPath(app));
  if (file.status != ReadStatus::Ok) return std::nullopt;
  return ParseSnapshot(file.bytes);
}

// Written as config.ini is, so a crash leaves the old copy or the new.
void StoreSnapshot(AppContext& app, const UserProxySnapshot& snapshot) {
  SafeFileWrite(app.platform.files, SnapshotPath(app), SerializeSnapshot(snapshot), /*patient=*/false);
}

// Puts the saved values back into the groups that are still the program's.
// Without a snapshot those groups are cleared as ApplySystemProxy clears.
// The groups it wrote.
OwnValues Restore(AppContext& app, const UserProxySnapshot* snapshot) {
  Registry& registry = app.system->registry;
  const OwnValues own = OwnValuesOf(ReadProxyValues(registry), snapshot ? &snapshot->written : nullptr,
                                    app.form.Text(Ctl::编辑框_本地端口), app.engineDirectory);
  if (!snapshot) {
    if (own.proxy) SetProxyServer(app, "");
    if (own.autoConfig) SetAutoConfigUrl(app, "");
    return own;
  }
  const ProxyValues& saved = snapshot->saved;
  if (own.proxy) {
    registry.SetNumber(kUser, kInternetSettings, "ProxyEnable", saved.enable.value_or(0));
    WriteText(registry, kInternetSettings, "ProxyServer", saved.server);
    WriteText(registry, kInternetSettings, "ProxyOverride", snapshot->bypass);
  }
  if (own.autoConfig) SetAutoConfigUrl(app, saved.autoConfigUrl.value_or(""));
  if (own.proxy && own.autoConfig)
    for (const auto& [entry, record] : snapshot->entries) WriteText(registry, kConnections, entry, record, true);
  return own;
}

}  // namespace

void TakeOverSystemProxy(AppContext& app, const std::string& value, ProxyKind kind) {
  std::optional<UserProxySnapshot>& held = app.system->userProxy;
  // A copy a killed run left behind holds the user's settings; the values
  // now in place may be that run's.
  if (!held) held = LoadSnapshot(app);
  if (!held) held = SnapshotOfNow(app);
  held->written = WrittenBy(value, kind);
  StoreSnapshot(app, *held);
  ArmLogonRestore(app);
  ApplySystemProxy(app, value, kind);
}

void GiveBackSystemProxy(AppContext& app) {
  std::optional<UserProxySnapshot> snapshot = std::exchange(app.system->userProxy, std::nullopt);
  if (!snapshot) snapshot = LoadSnapshot(app);
  const OwnValues restored = Restore(app, snapshot ? &*snapshot : nullptr);
  DisarmLogonRestore(app);
  // The program's PAC file is no one's any more. (Without a snapshot the
  // program's address, if any, was cleared with the file.)
  if (snapshot) {
    DropGeneratedPacFile(app);
    app.platform.files.RemoveFile(SnapshotPath(app));
  }
  if (!restored.proxy && !restored.autoConfig) return;

  InternetOptions& options = app.system->internetOptions;
  // The LAN connection as the user had it, when all of it came back;
  // otherwise as the plain values now say.
  if (snapshot && snapshot->lan && restored.proxy && restored.autoConfig)
    options.SetLanConnection(*snapshot->lan);
  else
    options.SetLanConnection(LanViewOf(ReadProxyValues(app.system->registry)));
  options.SettingsChanged();
  options.Refresh();
}
