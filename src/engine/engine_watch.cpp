#include "engine/engine_watch.h"

#include <cstdio>
#include <optional>

#include "context/app_context.h"
#include "engine/engine_stop.h"
#include "engine/restart_budget.h"
#include "platform/engine_services.h"
#include "shared/gbk_text.h"
#include "shared/utf8_text.h"
#include "system/system_services.h"
#include "tray/tray_icon.h"

namespace {

// A balloon holds 255 bytes; the lead texts need less than 100 of them.
constexpr std::size_t kLastLineBytes = 150;

void OnEngineEnded(AppContext& app, unsigned launch, std::uint32_t exitCode);

// Runs on the system's thread that waited for the process: it only posts.
EngineLaunch WatchedLaunch(AppContext& app, const std::string& commandLine, unsigned launch) {
  AppContext* program = &app;
  auto ended = [program, launch](std::uint32_t exitCode) {
    program->form.Post([program, launch, exitCode] { OnEngineEnded(*program, launch, exitCode); }, 0);
  };
  return {commandLine, EngineLogPath(app), ended};
}

void RestartEngine(AppContext& app, unsigned launch, std::uint32_t exitCode) {
  // The user stopped or started meanwhile.
  if (launch != app.run.launch || !IsRunning(app.form)) return;
  if (!LaunchWatchedEngine(app, app.run.commandLine)) {
    // A launch that fails (the file is gone) counts as another end.
    OnEngineEnded(app, app.run.launch, exitCode);
    return;
  }
  if (app.tray)
    app.tray->ShowBalloon("Brook 已重新启动", "Brook 进程意外退出（" + ExitCodeText(exitCode) + "），已重新启动。",
                          BalloonIcon::Info);
}

void OnEngineEnded(AppContext& app, unsigned launch, std::uint32_t exitCode) {
  // A start still waiting for its engine judges that engine itself; news
  // of an engine stopped or replaced since is old.
  if (launch != app.run.launch || app.run.starting || !IsRunning(app.form)) return;
  // A VPN engine changed the network: starting it again blind could leave
  // it worse, so the DNS comes back now.
  std::optional<unsigned> delay;
  if (app.run.protocol != kVpnProtocol) delay = NextRestartDelay(app.run.restarts, app.engine->clock.TickCount());
  if (!delay) {
    GiveUpEngine(app, exitCode);
    return;
  }
  // The system proxy stays as it is: the new engine listens on the same port.
  app.form.Post([&app, launch, exitCode] { RestartEngine(app, launch, exitCode); }, *delay);
}

}  // namespace

bool LaunchWatchedEngine(AppContext& app, const std::string& commandLine) {
  const unsigned launch = ++app.run.launch;
  return app.engine->processes.LaunchEngine(WatchedLaunch(app, commandLine, launch));
}

std::string EngineLogPath(AppContext& app) { return app.platform.location.ProgramDirectory() + "\\brook.log"; }

void ShowEngineLog(AppContext& app) {
  const std::string log = EngineLogPath(app);
  if (!app.platform.files.FileExists(log)) {
    app.form.ShowMessage("找不到引擎日志！Brook 启动后，它输出的内容会保存在 " + log + " 。", "错误");
    return;
  }
  app.system->shell.Launch("explorer.exe /e,/select," + log);
}

std::string WithEngineLastLine(AppContext& app, const std::string& lead) {
  // Brook, written in Go, prints UTF-8; the balloon shows GBK.
  const std::string line = utf8::AsGbk(app.engine->processes.LastOutputLine());
  if (line.empty()) return lead;
  return lead + "\r\n" + std::string(gbk::CutToFit(line, kLastLineBytes));
}

std::string ExitCodeText(std::uint32_t exitCode) {
  char text[32];
  std::snprintf(text, sizeof text, exitCode > 0xFFFF ? "0x%08X" : "%u", static_cast<unsigned>(exitCode));
  return std::string("退出代码 ") + text;
}
