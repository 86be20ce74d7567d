#include "system/pac_mode.h"

#include "context/app_context.h"
#include "context/tray_menu_layout.h"
#include "system/pac_file.h"
#include "system/pac_script.h"
#include "system/pac_server.h"
#include "system/system_proxy.h"
#include "system/tray_report.h"
#include "system/user_proxy.h"

namespace {

// The settings the user had are in force instead of the program's PAC.
void KeepUsersSettings(AppContext& app, std::string_view title, std::string_view text, BalloonIcon icon) {
  GiveBackSystemProxy(app);
  DropGeneratedPacFile(app);
  ReportInBalloon(app, title, text, icon);
}

}  // namespace

PacModeOutcome ApplyPacMode(AppContext& app) {
  const GeneratedPac generated = GeneratePacFile(app);
  switch (generated.state) {
    case PacScriptState::Ready:
      break;
    case PacScriptState::NoTemplate:
      KeepUsersSettings(app, "PAC模式尚未生效",
                        "没有PAC文件(pac.txt)，正在下载，下载成功后自动应用。\r\n在此之前沿用原有的系统代理设置。",
                        BalloonIcon::Info);
      return PacModeOutcome::NotApplied;
    case PacScriptState::NotAScript:
      KeepUsersSettings(app, "PAC模式未生效！",
                        "原因：PAC文件(pac.txt)中没有 FindProxyForURL 函数，浏览器不会使用它。\r\n"
                        "已沿用原有的系统代理设置，请尝试 更新PAC文件。",
                        BalloonIcon::Error);
      return PacModeOutcome::NotApplied;
    case PacScriptState::Unwritten:
      KeepUsersSettings(app, "PAC模式未生效！", "原因：写入PAC文件失败。\r\n已沿用原有的系统代理设置。",
                        BalloonIcon::Error);
      return PacModeOutcome::NotApplied;
  }
  const std::string address = PublishPacFile(app);
  if (address.empty()) {
    KeepUsersSettings(app, "PAC模式未生效！",
                      "原因：本地 PAC 服务无法启动，浏览器无法获取PAC文件。\r\n已沿用原有的系统代理设置。",
                      BalloonIcon::Error);
    return PacModeOutcome::NotApplied;
  }
  if (!TakeOverSystemProxy(app, address, ProxyKind::Pac)) return PacModeOutcome::Refused;
  if (generated.size <= kBrowserPacScriptLimit) return PacModeOutcome::Applied;
  ReportInBalloon(app, "PAC文件过大！", "PAC文件超过 1 MB，Chrome 和 Edge 会拒绝使用它并直接连接。", BalloonIcon::Error);
  return PacModeOutcome::AppliedTooLarge;
}

LivePacUpdate ApplyArrivedPacTemplate(AppContext& app, const std::string& engineDirectory) {
  LivePacUpdate result = LivePacUpdate::NotLive;
  app.form.RunOnWindowThread([&] {
    if (!IsRunning(app.form) || !app.form.MenuChecked(menu::PAC模式) || app.engineDirectory != engineDirectory) return;
    result = ApplyPacMode(app) == PacModeOutcome::Applied ? LivePacUpdate::Applied : LivePacUpdate::Reported;
  });
  return result;
}
