#pragma once
// A program in memory with a tray icon whose balloons can be read back, the
// configuration loaded and the engine directory set to the test's folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/tray_icon.h"
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

  using Balloon = FakeNotificationArea::Balloon;
  std::vector<Balloon> Balloons() const { return shell.Balloons(); }

  std::string EngineDirectory() const { return t.folder.Path() + "\\"; }
  bool HasFile(const std::string& name) const {
    for (const std::string& present : t.folder.Names())
      if (present == name) return true;
    return false;
  }
  // As a start of a node of the current Run mode leaves it.
  void MarkRunning() {
    t.app.run.listener = t.app.run.runMode;
    t.form.SetEnabled(Ctl::按钮_启动, false);
  }

  TestApp t;
  FakeSystem& system = t.system;
  SystemState& state = t.system.services.state;
  FakeNotificationArea shell;
  TrayIcon tray{shell};
};
