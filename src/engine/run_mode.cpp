#include "engine/run_mode.h"

#include <string>

#include "context/app_context.h"
#include "context/listener.h"
#include "tray/tray_icon.h"
#include "context/tray_menu_layout.h"
#include "config/configuration.h"
#include "system/system_proxy.h"

namespace {

std::string SwitchBalloonText(AppContext& app, bool toSocks) {
  if (IsRunning(app.form)) {
    std::string text = "当前 Brook 正在运行，需要重启(停止+启动)后才能生效！";
    if (toSocks)
      text += "\r\n因为协议原因，所以全局模式禁用。";
    else if (!GlobalModeAvailable(app))
      text += "\r\n当前运行的是 SOCKS5 代理，重启前全局模式不可用。";
    return text;
  }
  std::string text = "下次启动代理将应用为：\r\n" + app.run.runMode + " 代理：127.0.0.1:" +
                     app.form.Text(Ctl::编辑框_本地端口);
  text += toSocks ? "\r\n因为系统代理设置不支持 SOCKS5 协议的原因，所以[代理模式 - 全局模式]禁用。"
                  : "\r\n注意：如果服务器协议为 VPN ，那么将默认为 SOCKS5 模式！";
  return text;
}

}  // namespace

void SwitchRunMode(AppContext& app) {
  const bool toSocks = app.form.MenuChecked(menu::HTTP方式启动);
  app.run.runMode = toSocks ? "SOCKS5" : "HTTP";
  app.config.Write("BasisConfig", "Run Mode", app.run.runMode);
  // Direct mode through its own operation: it saves the mode and clears a
  // global proxy that is in force right now.
  if (toSocks && app.form.MenuChecked(menu::全局模式)) SelectDirectMode(app);
  ApplyRunModeToMenu(app);
  if (app.tray)
    app.tray->ShowBalloon("切换启动方式为：" + app.run.runMode, SwitchBalloonText(app, toSocks), BalloonIcon::None);
}
