#include "diag/account_self_check.h"

#include <string>

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "context/tray_menu_layout.h"
#include "config/defaults.h"
#include "config/value_codec.h"
#include "diag/http_request.h"
#include "platform/diag_services.h"

namespace {

constexpr int kDefaultTimeout = 10;
// Any answer proves the account; more than this of it proves nothing more.
constexpr std::size_t kProofBytes = 64u << 10;

void Balloon(AppContext& app, std::string_view title, std::string_view text, BalloonIcon kind) {
  if (app.tray) app.tray->ShowBalloon(title, text, kind);
}

void CheckThroughLocalProxy(AppContext& app, DiagServices& diag) {
  Form& form = app.form;
  std::string url = form.Text(Ctl::编辑框_账号自检设置_测试网址);
  if (url.empty()) url = kDefaultTestUrl;
  int timeout = ReadInteger(form.Text(Ctl::编辑框_账号自检设置_超时时间));
  if (timeout <= 0) timeout = kDefaultTimeout;

  const std::uint32_t start = diag.clock.TickCount();
  HttpRequestOptions request;
  request.method = 0;
  request.noRedirect = true;
  request.proxy = "127.0.0.1:" + form.Text(Ctl::编辑框_本地端口);
  request.timeoutSeconds = timeout;
  request.bodyLimit = kProofBytes;
  std::string body;
  try {
    body = HttpRequest(diag.http, diag.charsets, url, request);
  } catch (...) {
    // Whatever broke the request, no answer came: judged as any failure.
  }
  const std::string elapsed = std::to_string(diag.clock.TickCount() - start);

  // Only the body counts: an error page is an answer, and the request's
  // own failure message is not the user's business.
  if (!body.empty())
    Balloon(app, "当前账号可用！",
            "经过测试，该账号可正常使用。\r\n测试网址：" + url + "\r\n测试时间：" + elapsed +
                "ms。\r\n如浏览器无法使用，请检查系统代理设置！",
            BalloonIcon::None);
  else
    Balloon(app, "当前账号不可用！",
            "经过测试，该账号无法使用。\r\n测试网址：" + url + "\r\n测试时间：" + elapsed +
                "ms。\r\n请尝试多次账号自检，并检查服务器连通性、账号可用性！",
            BalloonIcon::Error);
}

}  // namespace

void StartSelfCheck(AppContext& app) {
  if (!app.diag) return;
  if (app.run.protocol == kVpnProtocol) {
    Balloon(app, "VPN 模式不支持账号自检！", "请更换其他协议后，再使用账号自检！", BalloonIcon::Error);
    return;
  }
  app.form.SetMenuEnabled(menu::账号自检, false);
  app.diag->workers.Start([&app] { AccountSelfCheck(app); },
                          [&app] { app.form.SetMenuEnabled(menu::账号自检, true); });
}

void AccountSelfCheck(AppContext& app) {
  if (!app.form.MenuChecked(menu::HTTP方式启动))
    app.form.ShowMessage("该功能只能检查 HTTP协议 代理服务器！请切换为 HTTP 方式启动。", "错误");
  else if (app.diag)
    CheckThroughLocalProxy(app, *app.diag);
  app.form.SetMenuEnabled(menu::账号自检, true);
}
