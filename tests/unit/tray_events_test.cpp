#include <gtest/gtest.h>

#include "app/events.h"
#include "tray/tray_icon.h"
#include "tray/tray_icon_images.h"
#include "fakes/fake_notification_area.h"
#include "fakes/fake_platform.h"

namespace {

class TrayEventsTest : public testing::Test {
 protected:
  TrayEventsTest() {
    shell.windows.insert(t.form.WindowHandle());
    t.app.tray = &tray;
    tray.AddIcon(t.form.WindowHandle(), StoppedIconData(), "tip");
    tray.AttachWindow([this](int code) { OnTrayEvent(t.app, code); });
  }

  TestApp t;
  FakeNotificationArea shell;
  TrayIcon tray{shell};
};

TEST_F(TrayEventsTest, AClickBringsTheHiddenWindowBackOnItsFirstPage) {
  for (int code : {TrayEvent::LeftButtonUp, TrayEvent::LeftDoubleClick}) {
    t.form.SetWindowVisible(false);
    t.form.SetCurrentPage(Ctl::选择夹1, 2);
    shell.Raise(code);
    EXPECT_TRUE(t.form.WindowVisible()) << code;
    EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 0) << code;
  }
}

TEST_F(TrayEventsTest, AClickLeavesAVisibleWindowAlone) {
  t.form.SetWindowVisible(true);
  t.form.SetCurrentPage(Ctl::选择夹1, 2);
  shell.Raise(TrayEvent::LeftButtonUp);
  shell.Raise(TrayEvent::LeftDoubleClick);
  EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 2);
  EXPECT_TRUE(t.form.WindowVisible());
  EXPECT_EQ(t.form.popups, 0);
}

TEST_F(TrayEventsTest, ARightClickPopsUpTheMenuAndNothingElse) {
  t.form.SetCurrentPage(Ctl::选择夹1, 1);
  shell.Raise(TrayEvent::RightButtonUp);
  EXPECT_EQ(t.form.popups, 1);
  EXPECT_FALSE(t.form.WindowVisible());
  EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 1);
}

TEST_F(TrayEventsTest, ANewTaskbarGetsTheIconBackAsItIsNow) {
  tray.SetIcon(RunningIconData());
  tray.SetTip("running");
  const std::size_t before = shell.calls.size();

  shell.Raise(TrayEvent::TaskbarCreated);
  ASSERT_EQ(shell.calls.size(), before + 1);
  const auto& call = shell.calls.back();
  EXPECT_EQ(call.message, NotifyMessage::Add);
  EXPECT_EQ(call.record.window, t.form.WindowHandle());
  EXPECT_EQ(call.record.icon, shell.createdIcons.back());
  EXPECT_EQ(std::string(call.record.tip), "running");
}

TEST_F(TrayEventsTest, OtherCodesChangeNothing) {
  const std::size_t before = shell.calls.size();
  for (int code : {TrayEvent::WindowDestroyed, 0x200, 0x204, 0x206}) shell.Raise(code);
  EXPECT_EQ(shell.calls.size(), before);
  EXPECT_EQ(t.form.popups, 0);
  EXPECT_FALSE(t.form.WindowVisible());
}

}  // namespace
