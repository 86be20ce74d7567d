#include "engine/engine_start.h"

#include <string>

#include "context/app_context.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "context/tray_menu_layout.h"
#include "config/configuration.h"
#include "engine/engine_command_line.h"
#include "engine/engine_process.h"
#include "engine/engine_watch.h"
#include "engine/vpn_network.h"
#include "platform/engine_services.h"
#include "shared/gbk_text.h"
#include "shared/scoped_flag.h"
#include "system/system_proxy.h"
#include "update/maker_addresses.h"

namespace {

constexpr unsigned kEngineStartupMilliseconds = 500;

// The first empty field is named in a box; true when all are filled.
bool FieldsAreFilled(Form& form) {
  struct Field {
    Ctl control;
    const char* message;
  };
  static const Field fields[] = {
      {Ctl::编辑框_文件位置, "文件位置 不能为空！ \r\n文件位置指的是 Brook Windows命令行版客户端的位置。"},
      {Ctl::编辑框_本地端口, "本地端口 不能为空！"},
      {Ctl::编辑框_服务器IP, "服务器IP 不能为空！"},
      {Ctl::编辑框_服务器端口, "服务器端口 不能为空！"},
      {Ctl::编辑框_服务器密码, "服务器密码 不能为空！"},
  };
  for (const Field& field : fields) {
    if (form.Text(field.control).empty()) {
      form.ShowMessage(field.message, "错误");
      return false;
    }
  }
  if (form.ComboSelection(Ctl::组合框_服务器协议) == -1) {
    form.ShowMessage("服务器协议 不能为空！", "错误");
    return false;
  }
  return true;
}

// A failed VPN preparation comes back as a marker; true when one was shown.
bool ShowVpnMarker(Form& form, const std::string& commandLine) {
  if (commandLine == kMarkerFillInGateway) {
    form.ShowMessage("你已勾选[自定义默认网关]选项，请填写默认网关！", "错误");
  } else if (commandLine == kMarkerNoTapAdapter) {
    form.ShowMessage("没有检测到 TAP虚拟网卡，请安装，教程请见： " CORVANE_TAP_TUTORIAL_URL " 。", "错误");
  } else if (commandLine == kMarkerNoGateway) {
    form.ShowMessage(
        "没有检测到当前网卡的默认网关，请勾选[自定义默认网关]选项并填写默认网关，默认网关可在 CMD 中运行 ipconfig "
        "获得，具体请见 " CORVANE_GATEWAY_HELP_URL " 。",
        "错误");
  } else {
    return false;
  }
  return true;
}

bool IsEngineFileName(const std::string& path) {
  const std::size_t slash = gbk::FindLast(path, '\\');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return gbk::AsciiLower(name) == kEngineProcessName;
}

// The node as it was launched. Read before the wait, in which the user may
// go on typing: the Run state records what runs.
struct LaunchedNode {
  int protocol;
  std::string serverAddress, serverPort, password, remark, localPort;
  std::string listener;  // as the command line asks for it
};

LaunchedNode NodeInWindow(const AppContext& app) {
  const Form& form = app.form;
  const int protocol = form.ComboSelection(Ctl::组合框_服务器协议);
  return {protocol,
          form.Text(Ctl::编辑框_服务器IP),
          form.Text(Ctl::编辑框_服务器端口),
          form.Text(Ctl::编辑框_服务器密码),
          form.Text(Ctl::编辑框_服务器备注),
          form.Text(Ctl::编辑框_本地端口),
          protocol == kVpnProtocol ? "SOCKS5" : app.run.runMode};
}

void RecordRun(RunState& run, const LaunchedNode& node, const std::string& commandLine) {
  run.listener = node.listener;
  run.commandLine = commandLine;
  run.restarts.clear();  // a start of the user's own gets the whole budget
  run.serverAddress = node.serverAddress;
  run.serverPort = node.serverPort;
  run.password = node.password;
  run.remark = node.remark;
  run.protocol = node.protocol;
}

std::string RunningTip(const LaunchedNode& node) {
  const std::string listener =
      node.protocol == kVpnProtocol ? "VPN 127.0.0.1:" + node.localPort : node.listener + " 127.0.0.1:" + node.localPort;
  return "Corvane\r\n状态：[正在运行]\r\n本地代理: " + listener + "\r\n当前连接: " + node.serverAddress + ":" +
         node.serverPort;
}

void ShowRunningLook(AppContext& app, const LaunchedNode& node, bool quiet) {
  Form& form = app.form;
  form.SetEnabled(Ctl::按钮_启动, false);  // from here the engine counts as running
  form.SetEnabled(Ctl::按钮_停止, true);
  for (Ctl c : {Ctl::编辑框_本地端口, Ctl::选择框_局域网连接, Ctl::编辑框_VPN设置_网卡名称, Ctl::编辑框_VPN设置_首选DNS,
                Ctl::编辑框_VPN设置_默认网关, Ctl::选择框_自定义默认网关})
    form.SetEnabled(c, false);

  form.SetMenuEnabled(menu::启动代理, false);
  form.SetMenuEnabled(menu::停止代理, true);
  form.SetMenuEnabled(menu::账号自检, true);
  form.SetStatusText(1, "   状态：正在运行");
  form.SetMenuCaption(menu::状态, "状态：正在运行");
  form.SetMenuChecked(menu::状态, true);

  if (!app.tray) return;
  // The texts say 127.0.0.1 also when the LAN may connect.
  if (!quiet) {
    const std::string text = node.protocol == kVpnProtocol ? "VPN 模式：127.0.0.1:" + node.localPort
                                                           : node.listener + " 代理：127.0.0.1:" + node.localPort;
    app.tray->ShowBalloon("Brook 启动成功！", text, BalloonIcon::None);
  }
  app.tray->SetTip(RunningTip(node));
  app.tray->SetIcon(RunningIconData());
}

// A VPN start always applies direct, which also makes direct the saved mode.
void ApplyCheckedProxyMode(AppContext& app, int protocol) {
  const Form& form = app.form;
  if (protocol == kVpnProtocol || form.MenuChecked(menu::直连模式))
    SelectDirectMode(app);
  else if (form.MenuChecked(menu::PAC模式))
    SelectPacMode(app);
  else if (form.MenuChecked(menu::全局模式))
    SelectGlobalMode(app);
}

}  // namespace

void StartEngine(AppContext& app, bool quiet) {
  if (!app.engine || app.run.starting) return;
  Form& form = app.form;
  if (!FieldsAreFilled(form)) return;
  const std::string commandLine = BuildEngineCommandLine(app);
  if (ShowVpnMarker(form, commandLine)) return;

  // The wait handles window messages, so another click could otherwise
  // start a second engine.
  const ScopedFlag starting(app.run.starting);
  const LaunchedNode node = NodeInWindow(app);
  const bool namedAsEngine = IsEngineFileName(form.Text(Ctl::编辑框_文件位置));
  // A launch that fails shows as the missing process below.
  LaunchWatchedEngine(app, commandLine);
  // An exit during the wait must still give the connection its DNS back
  // after a VPN engine, so the protocol is known from the launch on.
  const int protocolBefore = app.run.protocol;
  app.run.protocol = node.protocol;
  // The program is ending: nothing more is set up for it to undo.
  if (!app.engine->wait.Wait(kEngineStartupMilliseconds)) return;

  // Only the process launched here counts: another program's brook.exe
  // says nothing about this start. An engine is recognised by its name.
  if (!app.engine->processes.EngineRunning() || !namedAsEngine) {
    app.run.protocol = protocolBefore;
    if (app.tray)
      app.tray->ShowBalloon("Brook 启动失败！", WithEngineLastLine(app, "请检查配置。"), BalloonIcon::Error);
    // A program of another name may still run: it is no engine of ours.
    app.engine->processes.EndEngine();
    return;
  }
  RecordRun(app.run, node, commandLine);
  ShowRunningLook(app, node, quiet);
  // A SOCKS5 listener (a VPN node) withdraws global mode while it runs.
  ApplyRunModeToMenu(app);
  app.config.Write("NodeList", "Select node", std::to_string(form.SelectedRow(Ctl::超级列表框_服务器列表)));
  ApplyCheckedProxyMode(app, node.protocol);
}
