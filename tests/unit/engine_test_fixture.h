#pragma once
// A program in memory with a tray icon whose balloons and tip can be read
// back, the configuration loaded, the engine beside the test's folder and a
// node ready to start; readers for what engine control changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "context/tray_menu_layout.h"
#include "ini/ini_document.h"
#include "fakes/fake_notification_area.h"
#include "fakes/fake_platform.h"

class EngineTest : public testing::Test {
 protected:
  EngineTest() {
    shell.windows.insert(t.form.WindowHandle());
    tray.AddIcon(t.form.WindowHandle(), StoppedIconData());
    t.app.tray = &tray;
    t.Load();
    t.form.SetText(Ctl::编辑框_文件位置, EnginePath());
    t.app.engineDirectory = EngineDirectory();
    Node("198.51.100.7", "9999", "secret", 0);
  }

  using Balloon = FakeNotificationArea::Balloon;
  std::vector<Balloon> Balloons() const { return shell.Balloons(); }

  void Node(const std::string& server, const std::string& port, const std::string& password, int protocol) {
    t.form.SetText(Ctl::编辑框_服务器IP, server);
    t.form.SetText(Ctl::编辑框_服务器端口, port);
    t.form.SetText(Ctl::编辑框_服务器密码, password);
    t.form.SetComboSelection(Ctl::组合框_服务器协议, protocol);
  }
  void CheckProxyMode(std::string_view item) {
    for (std::string_view mode : {menu::直连模式, menu::PAC模式, menu::全局模式}) t.form.SetMenuChecked(mode, mode == item);
  }
  void UseCustomGateway(const std::string& gateway, const std::string& dns, const std::string& name) {
    t.form.SetChecked(Ctl::选择框_自定义默认网关, true);
    t.form.SetText(Ctl::编辑框_VPN设置_默认网关, gateway);
    t.form.SetText(Ctl::编辑框_VPN设置_首选DNS, dns);
    t.form.SetText(Ctl::编辑框_VPN设置_网卡名称, name);
  }

  std::string EngineDirectory() const { return t.folder.Path() + "\\"; }
  std::string EnginePath() const { return EngineDirectory() + "brook.exe"; }
  bool Running() const { return !t.form.Enabled(Ctl::按钮_启动); }
  std::size_t EnginesRunning() const {
    return std::count_if(t.processes.processes.begin(), t.processes.processes.end(),
                         [](const ProcessEntry& p) { return p.exeName == "brook.exe"; });
  }

  std::string Tip() const { return shell.calls.back().record.tip; }
  // Whether the tray's current image was made from `ico`.
  bool IconFrom(std::span<const unsigned char> ico) const {
    if (shell.iconImages.empty()) return false;
    const auto& image = shell.iconImages.back();
    return std::search(ico.begin(), ico.end(), image.begin(), image.end()) != ico.end();
  }
  std::optional<Balloon> LastBalloon() const {
    const auto shown = Balloons();
    if (shown.empty() || shown.back().title.empty()) return std::nullopt;
    return shown.back();
  }

  std::string Saved(const char* section, const char* key) const {
    return IniDocument::Parse(t.ConfigText()).Get(section, key, "(none)");
  }
  std::optional<FakeRegistry::Value> Setting(const std::string& name) const {
    return system.registry.Get(RegistryRoot::CurrentUser,
                               "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", name);
  }
  void PutSetting(const std::string& name, FakeRegistry::Value value) {
    system.registry.Put(RegistryRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                        name, std::move(value));
  }
  bool ProxyCleared() const {
    const auto enable = Setting("ProxyEnable");
    return (!enable || enable->number == 0) && !Setting("ProxyServer") && !Setting("AutoConfigURL");
  }

  TestApp t;
  FakeSystem& system = t.system;
  FakeEngine& engine = t.engine;
  FakeNotificationArea shell;
  TrayIcon tray{shell};
};
