#include "driver/proxy_views.h"

#include <wininet.h>


namespace e2e {
namespace {

std::string TakeText(LPSTR text) {
  std::string taken = text ? text : "";
  if (text) GlobalFree(text);
  return taken;
}

}  // namespace

ConnectionView PerConnectionView() {
  INTERNET_PER_CONN_OPTIONA options[4] = {};
  options[0].dwOption = INTERNET_PER_CONN_FLAGS_UI;
  options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
  options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
  options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
  INTERNET_PER_CONN_OPTION_LISTA list{};
  list.dwSize = sizeof list;
  list.dwOptionCount = 4;
  list.pOptions = options;
  DWORD size = sizeof list;
  ConnectionView view;
  if (!InternetQueryOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size)) return view;
  view.flags = options[0].Value.dwValue;
  view.proxy = TakeText(options[1].Value.pszValue);
  view.bypass = TakeText(options[2].Value.pszValue);
  view.autoConfigUrl = TakeText(options[3].Value.pszValue);
  return view;
}

}  // namespace e2e
