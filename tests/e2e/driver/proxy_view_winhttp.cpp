#include "driver/proxy_views.h"

#include <winhttp.h>


namespace e2e {
namespace {

// The settings are ASCII (addresses and host lists).
std::string Narrow(LPWSTR text) {
  std::string narrow;
  for (const wchar_t* c = text; c && *c; ++c) narrow.push_back(static_cast<char>(*c));
  if (text) GlobalFree(text);
  return narrow;
}

}  // namespace

ConnectionView WinHttpView() {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  ConnectionView view;
  if (!WinHttpGetIEProxyConfigForCurrentUser(&config)) return view;
  view.proxy = Narrow(config.lpszProxy);
  view.bypass = Narrow(config.lpszProxyBypass);
  view.autoConfigUrl = Narrow(config.lpszAutoConfigUrl);
  return view;
}

std::string WinHttpProxyFor(const std::string& pacAddress, const std::string& url) {
  const HINTERNET session = WinHttpOpen(L"corvane-e2e", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
  if (!session) return "(no session)";
  const std::wstring address(pacAddress.begin(), pacAddress.end());
  const std::wstring target(url.begin(), url.end());
  WINHTTP_AUTOPROXY_OPTIONS options{};
  options.dwFlags = WINHTTP_AUTOPROXY_CONFIG_URL;
  options.lpszAutoConfigUrl = address.c_str();
  WINHTTP_PROXY_INFO info{};
  std::string proxy = "(none)";
  if (WinHttpGetProxyForUrl(session, target.c_str(), &options, &info)) {
    proxy = Narrow(info.lpszProxy);
    if (info.lpszProxyBypass) GlobalFree(info.lpszProxyBypass);
  }
  WinHttpCloseHandle(session);
  return proxy;
}

}  // namespace e2e
