#include "engine/engine_stop.h"

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "context/tray_menu_layout.h"
#include "tray/tray_tip.h"
#include "config/configuration.h"
#include "engine/adapter_dns.h"
#include "engine/engine_watch.h"
#include "platform/engine_services.h"
#include "system/user_proxy.h"

namespace {

// Ends the engine this program launched, with what it started; another
// program's brook.exe is none of its business. After a VPN run the
// connection gets its DNS back first, while the engine still runs, and
// also when the engine has died meanwhile: the DNS it changed stays
// changed. False when the engine no longer ran.
bool EndEngineProcess(AppContext& app, bool reportDnsFailure) {
  // News of its end, or a restart on its way, is for this run no more.
  ++app.run.launch;
  const bool running = app.engine->processes.EngineRunning();
  if (app.run.protocol == kVpnProtocol) RestoreVpnDns(app, reportDnsFailure);
  return app.engine->processes.EndEngine() && running;
}

struct Balloon {
  std::string title, text;
  BalloonIcon icon;
};

void ShowStoppedLook(AppContext& app, const Balloon& balloon) {
  Form& form = app.form;
  form.SetEnabled(Ctl::按钮_启动, true);
  for (Ctl c : {Ctl::编辑框_本地端口, Ctl::选择框_局域网连接, Ctl::选择框_自定义默认网关}) form.SetEnabled(c, true);
  EnableVpnBoxes(app, form.Checked(Ctl::选择框_自定义默认网关));

  form.SetMenuEnabled(menu::启动代理, true);
  form.SetMenuEnabled(menu::账号自检, false);
  form.SetStatusText(1, "   状态：未运行");
  form.SetMenuCaption(menu::状态, "状态：未运行");
  form.SetMenuChecked(menu::状态, false);

  if (!app.tray) return;
  app.tray->ShowBalloon(balloon.title, balloon.text, balloon.icon);
  app.tray->SetTip(StoppedTip(app.run.runMode, form.Text(Ctl::编辑框_本地端口)));
  app.tray->SetIcon(StoppedIconData());
}

void LetGo(AppContext& app, bool engineRan, const Balloon& balloon) {
  app.form.SetEnabled(Ctl::按钮_停止, false);
  app.form.SetMenuEnabled(menu::停止代理, false);

  if (!EndEngineProcess(app, true) && engineRan) app.form.ShowMessage("Brook 进程似乎不存在！", "");

  app.run.ResetToIdle();
  // Only the system settings go back to the user's: the checked mode and
  // the saved Proxy Mode stay, so the next start applies them again.
  GiveBackSystemProxy(app);
  ShowStoppedLook(app, balloon);
  // Global mode follows the Run mode again, for the next start.
  ApplyRunModeToMenu(app);
}

}  // namespace

void StopEngine(AppContext& app) {
  if (!app.engine) return;
  const std::string listener = app.run.runMode + " 代理：127.0.0.1:" + app.form.Text(Ctl::编辑框_本地端口);
  LetGo(app, true, {"Brook 停止成功！", listener, BalloonIcon::None});
}

void GiveUpEngine(AppContext& app, std::uint32_t exitCode) {
  if (!app.engine) return;
  // Read before the engine's run is forgotten.
  const std::string text = WithEngineLastLine(app, "Brook 进程已退出（" + ExitCodeText(exitCode) + "），已停止代理。");
  LetGo(app, false, {"Brook 已停止运行", text, BalloonIcon::Error});
}

void CleanupOnExit(AppContext& app) {
  if (!app.engine) return;
  EndEngineProcess(app, false);
  if (!app.form.MenuChecked(menu::直连模式)) GiveBackSystemProxy(app);
}
