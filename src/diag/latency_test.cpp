#include "diag/latency_test.h"

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "context/tray_menu_layout.h"
#include "platform/diag_services.h"

namespace {

constexpr int kNoAnswer = -1;

void Balloon(AppContext& app, std::string_view title, std::string_view text, BalloonIcon kind) {
  if (app.tray) app.tray->ShowBalloon(title, text, kind);
}

void EnableLatencyTest(Form& form, bool enabled) {
  form.SetMenuEnabled(menu::检测延迟, enabled);
  form.SetEnabled(Ctl::按钮_检测延迟, enabled);
}

}  // namespace

void StartLatencyTest(AppContext& app, LatencySource source) {
  if (!app.diag) return;
  if (app.run.protocol == kVpnProtocol) {
    Balloon(app, "VPN 模式不支持检测延迟！", "请更换其他协议后，再使用检测延迟！", BalloonIcon::Error);
    return;
  }
  EnableLatencyTest(app.form, false);
  // The Run state belongs to the window's thread; the worker gets a copy.
  app.diag->workers.Start([&app, source, server = app.run.serverAddress] { LatencyWorker(app, source, server); },
                          [&app] { EnableLatencyTest(app.form, true); });
}

void LatencyWorker(AppContext& app, LatencySource source, const std::string& runningServer) {
  std::string target = app.form.Text(Ctl::编辑框_服务器IP);
  if (source == LatencySource::TrayMenu && IsRunning(app.form)) target = runningServer;
  MeasureLatency(app, target, kLatencyTimeoutMs);
  EnableLatencyTest(app.form, true);
}

void MeasureLatency(AppContext& app, const std::string& target, int timeoutMs) {
  if (target.empty()) {
    app.form.ShowMessage("服务器IP 不能为空！", "错误");
    return;
  }
  if (!app.diag) return;
  int rtt = app.diag->icmp.PingHost(target, timeoutMs);
  if (rtt == kNoAnswer) rtt = app.diag->icmp.PingHost(target, timeoutMs);

  if (rtt == kNoAnswer)
    Balloon(app, "测试延迟超时！",
            "[" + target + "] 延迟为：超时！\r\n可能服务器禁Ping或丢包，请尝试多次测试延迟！", BalloonIcon::Error);
  else
    Balloon(app, "测试延迟成功！", "[" + target + "] 延迟为：" + std::to_string(rtt) + "ms", BalloonIcon::None);
}
