#include "engine/stale_proxy.h"

#include <algorithm>

#include "context/app_context.h"
#include "engine/engine_process.h"
#include "platform/engine_services.h"
#include "shared/gbk_text.h"
#include "system/system_proxy.h"

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "http://127.0.0.1:<port>/pac?t=<n>": the port is the PAC server's of that
// run, chosen by the system, so any port matches.
bool IsPacServerAddress(std::string_view url) {
  constexpr std::string_view head = "http://127.0.0.1:";
  constexpr std::string_view middle = "/pac?t=";
  if (!url.starts_with(head)) return false;
  url.remove_prefix(head.size());
  const std::size_t path = url.find('/');
  if (path == std::string_view::npos || !AllDigits(url.substr(0, path))) return false;
  url.remove_prefix(path);
  return url.starts_with(middle) && AllDigits(url.substr(middle.size()));
}

bool IsOwnPacAddress(const std::string& url, const std::string& engineDirectory) {
  if (url.empty()) return false;
  // Windows paths ignore letter case.
  return IsPacServerAddress(url) || gbk::AsciiLower(url) == gbk::AsciiLower("file://" + engineDirectory + "pac");
}

}  // namespace

bool PointsAtOwnProxy(const UserProxySettings& settings, const std::string& localPort,
                      const std::string& engineDirectory) {
  if (settings.proxyEnable == 1 && settings.proxyServer == "127.0.0.1:" + localPort) return true;
  return IsOwnPacAddress(settings.autoConfigUrl, engineDirectory);
}

void ClearStaleSystemProxy(AppContext& app) {
  if (!app.engine) return;
  if (FindProcessByName(app.platform.processes, kEngineProcessName) != 0) return;
  const UserProxySettings settings = app.engine->proxySettings.Read();
  if (PointsAtOwnProxy(settings, app.form.Text(Ctl::编辑框_本地端口), app.engineDirectory))
    ApplySystemProxy(app, "", ProxyKind::Direct);
}
