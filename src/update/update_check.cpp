#include "update/update_check.h"

#include "context/app_context.h"
#include "context/version.h"
#include "ini/ini_document.h"
#include "system/system_services.h"
#include "shared/bytes_as_text.h"
#include "system/tray_report.h"
#include "update/maker_addresses.h"
#include "update/pac_source_host.h"
#include "update/update_decision.h"

void StartUpdateWorkers(AppContext& app) {
  // Offline, or asked for before the fetch has ended, a PAC download still
  // has a host: the default, until the fetch names another.
  app.system->state.SetPacSourceHost(CORVANE_DEFAULT_PAC_HOST);
  StartUpdateCheck(app);
  app.system->workers.Start([&app] { FetchPacSourceHost(app); });
}

void StartUpdateCheck(AppContext& app) {
  SystemState& state = app.system->state;
  if (!state.BeginUpdateCheck()) return;
  // A check that failed half-way must not block every later one.
  app.system->workers.Start(
      [&app, &state] {
        CheckForUpdate(app);
        state.EndUpdateCheck();
      },
      [&state] { state.EndUpdateCheck(); });
}

namespace {

struct ReleaseInfo {
  std::string latest;  // "最新版本"
  std::string number;  // "版本号"
};

// The version file goes through a local copy, read as an INI file; the copy
// is deleted again whatever happened.
ReleaseInfo ReadVersionFile(FileSystem& files, const std::string& localCopy, std::string_view body) {
  ReleaseInfo info;
  if (files.WriteNewFile(localCopy, body)) {
    const IniDocument version = IniDocument::Parse(files.ReadFile(localCopy).bytes);
    info.latest = version.Get("Corvane", "最新版本", "");
    info.number = version.Get("Corvane", "版本号", "");
  }
  files.RemoveFile(localCopy);
  return info;
}

}  // namespace

void CheckForUpdate(AppContext& app) {
  SystemServices& system = *app.system;
  if (!system.connectivity.Online()) return;

  FileSystem& files = app.platform.files;
  const std::string localCopy = app.platform.location.ProgramDirectory() + "\\Ver.ini";
  const std::string body = DownloadBody(system.downloader, VersionServerBase() + "/Ver.ini");
  if (BytesAsText(body).empty()) {
    if (files.FileExists(localCopy)) files.RemoveFile(localCopy);
    return;
  }

  const ReleaseInfo release = ReadVersionFile(files, localCopy, body);
  if (!IsNewerRelease(release.latest, release.number)) return;
  ReportInBalloon(app, "Corvane 发现新版本 v" + release.latest + " ！",
                  std::string("请前往更新：") + CORVANE_HELP_URL, BalloonIcon::None);
  app.form.SetTitle("Corvane    v" + std::string(kVersionText) + "    发现新版本：v" + release.latest);
}

void FetchPacSourceHost(AppContext& app) {
  SystemServices& system = *app.system;
  if (!system.connectivity.Online()) return;
  const std::string host =
      PacSourceHostFrom(BytesAsText(DownloadBody(system.downloader, VersionServerBase() + "/new_softs.txt")));
  system.state.SetPacSourceHost(host.empty() ? CORVANE_DEFAULT_PAC_HOST : host);
}
