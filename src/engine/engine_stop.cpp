#include "engine/engine_stop.h"

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "context/tray_menu_layout.h"
#include "tray/tray_tip.h"
#include "config/configuration.h"
#include "engine/adapter_dns.h"
#include "engine/engine_process.h"
#include "platform/engine_services.h"
#include "system/user_proxy.h"

namespace {

constexpr int kVpnProtocol = 2;

// Ends the first brook.exe listed, whoever started it. After a VPN run the
// connection gets its DNS back first, while the engine still runs, and
// also when the engine has died meanwhile: the DNS it changed stays
// changed. False when no engine runs.
bool EndEngineProcess(AppContext& app, bool reportDnsFailure) {
  const std::uint32_t id = FindProcessByName(app.platform.processes, kEngineProcessName);
  if (app.run.protocol == kVpnProtocol) RestoreVpnDns(app, reportDnsFailure);
  if (id == 0) return false;
  TerminateProcessById(app.engine->processes, id);
  return true;
}

void ShowStoppedLook(AppContext& app) {
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
  const std::string localPort = form.Text(Ctl::编辑框_本地端口);
  app.tray->ShowBalloon("Brook 停止成功！", app.run.runMode + " 代理：127.0.0.1:" + localPort, BalloonIcon::None);
  app.tray->SetTip(StoppedTip(app.run.runMode, localPort));
  app.tray->SetIcon(StoppedIconData());
}

}  // namespace

void StopEngine(AppContext& app) {
  if (!app.engine) return;
  app.form.SetEnabled(Ctl::按钮_停止, false);
  app.form.SetMenuEnabled(menu::停止代理, false);

  if (!EndEngineProcess(app, true)) app.form.ShowMessage("Brook 进程似乎不存在！", "");

  app.run.ResetToIdle();
  // Only the system settings go back to the user's: the checked mode and
  // the saved Proxy Mode stay, so the next start applies them again.
  GiveBackSystemProxy(app);
  ShowStoppedLook(app);
  // Global mode follows the Run mode again, for the next start.
  ApplyRunModeToMenu(app);
}

void CleanupOnExit(AppContext& app) {
  if (!app.engine) return;
  EndEngineProcess(app, false);
  if (!app.form.MenuChecked(menu::直连模式)) GiveBackSystemProxy(app);
}
