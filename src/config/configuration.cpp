#include "config/configuration.h"

#include "context/app_context.h"
#include "context/listener.h"
#include "context/tray_menu_layout.h"
#include "config/defaults.h"
#include "config/node_list.h"
#include "config/value_codec.h"

std::string ConfigPath(AppContext& app) {
  return app.platform.location.ProgramDirectory() + "\\config.ini";
}

void EnableVpnBoxes(AppContext& app, bool enabled) {
  for (Ctl c : {Ctl::编辑框_VPN设置_网卡名称, Ctl::编辑框_VPN设置_首选DNS, Ctl::编辑框_VPN设置_默认网关})
    app.form.SetEnabled(c, enabled);
}

void ApplyRunModeToMenu(AppContext& app) {
  Form& form = app.form;
  form.SetMenuChecked(menu::HTTP方式启动, app.run.runMode == "HTTP");
  const bool global = GlobalModeAvailable(app);
  if (!global && form.MenuChecked(menu::全局模式)) {
    form.SetMenuChecked(menu::全局模式, false);
    form.SetMenuChecked(menu::直连模式, true);
  }
  form.SetMenuEnabled(menu::全局模式, global);
}

namespace {

void CheckProxyMode(Form& form, const std::string& mode) {
  form.SetMenuChecked(menu::直连模式, mode != "1" && mode != "2");
  form.SetMenuChecked(menu::PAC模式, mode == "1");
  form.SetMenuChecked(menu::全局模式, mode == "2");
}

}  // namespace

void LoadConfiguration(AppContext& app) {
  Form& form = app.form;
  app.config.SetPath(ConfigPath(app));
  std::string unreadable;
  const IniDocument config = app.config.LoadAtStart(&unreadable);
  if (!unreadable.empty())
    form.ShowMessage("读取配置失败！\r\n文件：" + app.config.Path() + "\r\n原因：" + unreadable +
                         "\r\n窗口显示的是默认设置。为免覆盖文件中的节点，本次运行不会保存配置；"
                         "请关闭占用该文件的程序后重新启动Corvane。",
                     "错误");
  auto basis = [&](const char* key, std::string_view fallback) {
    return config.Get("BasisConfig", key, fallback);
  };

  // Raises the content-changed event, which writes File back: the one write
  // a load makes, and the one that creates a missing file.
  form.SetText(Ctl::编辑框_文件位置, basis("File", ""));
  form.SetText(Ctl::编辑框_本地端口, basis("Local port", kDefaultLocalPort));
  form.SetText(Ctl::编辑框_账号自检设置_测试网址, config.Get("MoreSettings", "Test URL", kDefaultTestUrl));
  form.SetText(Ctl::编辑框_账号自检设置_超时时间, config.Get("MoreSettings", "Timeout", kDefaultTimeoutSeconds));
  form.SetText(Ctl::编辑框_VPN设置_默认网关, basis("Default gateway", ""));
  form.SetText(Ctl::编辑框_VPN设置_首选DNS, basis("DNS1", ""));
  form.SetText(Ctl::编辑框_VPN设置_网卡名称, basis("Network name", ""));
  form.SetChecked(Ctl::选择框_开机启动, ReadBoolean(basis("Run", "false")));
  form.SetChecked(Ctl::选择框_局域网连接, ReadBoolean(basis("LAN Connection", "false")));
  const bool customGateway = ReadBoolean(basis("Custom default gateway", "false"));
  form.SetChecked(Ctl::选择框_自定义默认网关, customGateway);
  EnableVpnBoxes(app, customGateway);
  CheckProxyMode(form, basis("Proxy Mode", "1"));
  app.run.runMode = basis("Run Mode", "HTTP");
  ApplyRunModeToMenu(app);
  app.run.ResetToIdle();
  LoadNodes(app, config);
}

FileResult SaveMoreSettings(AppContext& app) {
  const Form& form = app.form;
  return app.config.Update([&](IniDocument& doc) {
    doc.Set("MoreSettings", "Test URL", form.Text(Ctl::编辑框_账号自检设置_测试网址));
    doc.Set("MoreSettings", "Timeout", form.Text(Ctl::编辑框_账号自检设置_超时时间));
    doc.Set("BasisConfig", "Local port", form.Text(Ctl::编辑框_本地端口));
    doc.Set("BasisConfig", "Default gateway", form.Text(Ctl::编辑框_VPN设置_默认网关));
    doc.Set("BasisConfig", "DNS1", form.Text(Ctl::编辑框_VPN设置_首选DNS));
    doc.Set("BasisConfig", "Network name", form.Text(Ctl::编辑框_VPN设置_网卡名称));
    doc.Set("BasisConfig", "Run", WriteBoolean(form.Checked(Ctl::选择框_开机启动)));
    doc.Set("BasisConfig", "LAN Connection", WriteBoolean(form.Checked(Ctl::选择框_局域网连接)));
    doc.Set("BasisConfig", "Custom default gateway", WriteBoolean(form.Checked(Ctl::选择框_自定义默认网关)));
  });
}

namespace {

std::string SaveFailureText(AppContext& app, const FileResult& result) {
  std::string text = "保存配置失败！\r\n文件：" + result.file + "\r\n原因：" + result.reason;
  if (app.config.Unread()) return text + "\r\n为免覆盖文件中的节点，本次运行不会保存配置。";
  if (!result.copy.empty()) text += "\r\n完整的配置已保存在：" + result.copy + "\r\n下次启动时将用它恢复。";
  return text + "\r\n窗口中的修改仍然保留，排除原因后请重新保存。";
}

}  // namespace

bool SaveLanded(AppContext& app, const FileResult& result) {
  if (result) return true;
  app.form.ShowMessage(SaveFailureText(app, result), "错误");
  return false;
}

bool MayEndAfterSave(AppContext& app, const FileResult& result) {
  if (result) return true;
  if (app.config.Unread()) {
    app.form.ShowMessage(SaveFailureText(app, result), "错误");
    return true;
  }
  return app.form.AskYesNo(SaveFailureText(app, result) + "\r\n\r\n仍要退出吗？（窗口中未保存的修改将丢失）", "错误");
}

void WriteEnginePath(AppContext& app) {
  app.config.Write("BasisConfig", "File", app.form.Text(Ctl::编辑框_文件位置));
}

void WriteLocalPort(AppContext& app) {
  app.config.Write("BasisConfig", "Local port", app.form.Text(Ctl::编辑框_本地端口));
}

void WriteLanConnection(AppContext& app) {
  app.config.Write("BasisConfig", "LAN Connection", WriteBoolean(app.form.Checked(Ctl::选择框_局域网连接)));
}

void ToggleCustomGateway(AppContext& app) {
  const bool on = app.form.Checked(Ctl::选择框_自定义默认网关);
  EnableVpnBoxes(app, on);
  app.config.Write("BasisConfig", "Custom default gateway", WriteBoolean(on));
}
