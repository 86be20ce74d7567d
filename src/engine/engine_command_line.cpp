#include "engine/engine_command_line.h"

#include "context/app_context.h"
#include "shared/command_line_quoting.h"
#include "engine/vpn_network.h"
#include "platform/engine_services.h"

namespace {

// Server, port and password were always written in double quotes; the
// quoting keeps that look and escapes what would break out of it.
std::string ServerAndPassword(const Form& form, unsigned codePage) {
  return " -s " + QuoteArgument(form.Text(Ctl::编辑框_服务器IP) + ":" + form.Text(Ctl::编辑框_服务器端口), codePage) +
         " -p " + QuoteArgument(form.Text(Ctl::编辑框_服务器密码), codePage);
}

}  // namespace

std::string BuildEngineCommandLine(AppContext& app) {
  const Form& form = app.form;
  // Windows splits the line by its own code page, whatever the texts are in.
  const unsigned codePage = app.engine ? app.engine->codePage.Current() : kGbkCodePage;
  const std::string engine = QuoteProgramPath(form.Text(Ctl::编辑框_文件位置), codePage);
  const std::string localPort = form.Text(Ctl::编辑框_本地端口);

  if (form.ComboSelection(Ctl::组合框_服务器协议) == 2) {
    // VPN always listens on the loopback and never speaks HTTP.
    const std::string gateway = PrepareVpnNetwork(app);
    if (IsVpnMarker(gateway)) return gateway;
    return engine + " vpn -l " + QuoteArgumentIfNeeded("127.0.0.1:" + localPort, codePage) +
           ServerAndPassword(form, codePage) + " --defaultGateway " + QuoteArgumentIfNeeded(gateway, codePage);
  }

  const std::string subCommand = form.ComboSelection(Ctl::组合框_服务器协议) == 1 ? " streamclient" : " client";
  const std::string bind = form.Checked(Ctl::选择框_局域网连接) ? "0.0.0.0" : "127.0.0.1";
  const std::string http = app.run.runMode == "HTTP" ? " --http" : "";
  return engine + subCommand + " -l " + QuoteArgumentIfNeeded(bind + ":" + localPort, codePage) + " -i " + bind +
         ServerAndPassword(form, codePage) + http;
}
