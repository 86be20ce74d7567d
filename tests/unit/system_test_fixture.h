#pragma once
// A program in memory with a tray icon whose balloons can be read back, the
// configuration loaded and the engine directory set to the test's folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/tray_icon.h"
#include "fakes/fake_notification_area.h"
#include "fakes/fake_platform.h"

class SystemTest : public testing::Test {
 protected:
  SystemTest() {
    shell.windows.insert(t.form.WindowHandle());
    tray.AddIcon(t.form.WindowHandle());
    t.app.tray = &tray;
    t.Load();
    t.form.SetText(Ctl::编辑框_文件位置, EngineDirectory() + "brook.exe");
    t.app.engineDirectory = EngineDirectory();
  }

  struct Balloon {
    std::string title, text;
    BalloonIcon kind;
  };
  // Every balloon shown since the icon was added, oldest first.
  std::vector<Balloon> Balloons() const {
    std::vector<Balloon> shown;
    for (const auto& call : shell.calls)
      if (call.message == NotifyMessage::Modify)
        shown.push_back({call.record.balloonTitle, call.record.balloonText,
                         static_cast<BalloonIcon>(call.record.balloonIcon)});
    return shown;
  }

  std::string EngineDirectory() const { return t.folder.Path() + "\\"; }
  bool HasFile(const std::string& name) const {
    for (const std::string& present : t.folder.Names())
      if (present == name) return true;
    return false;
  }
  void MarkRunning() { t.form.SetEnabled(Ctl::按钮_启动, false); }

  TestApp t;
  FakeSystem& system = t.system;
  SystemState& state = t.system.services.state;
  FakeNotificationArea shell;
  TrayIcon tray{shell};
};
