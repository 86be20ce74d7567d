// A job whose thread cannot be created still ends: its failure path runs,
// so nothing stays busy or disabled for the rest of the session.
#include <gtest/gtest.h>

#include "app/events.h"
#include "context/tray_menu_layout.h"
#include "fakes/balloon_recorder.h"
#include "fakes/fake_platform.h"

namespace {

TEST(WorkerStart, AJobWithoutAThreadTakesItsFailurePath) {
  TestApp t;
  BalloonRecorder balloons{t.app};
  t.system.workers.noThreads = t.diag.workers.noThreads = true;

  OnMenuCommand(t.app, menu::检查更新);
  OnMenuCommand(t.app, menu::检测延迟);
  OnMenuCommand(t.app, menu::账号自检);
  EXPECT_TRUE(t.form.Enabled(Ctl::按钮_检测延迟));
  EXPECT_TRUE(t.form.MenuEnabled(menu::检测延迟));
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));

  OnMenuCommand(t.app, menu::更新PAC文件);
  ASSERT_EQ(balloons.Count(), 1u);
  EXPECT_EQ(balloons.Last().title, "PAC 更新失败！");

  // Once threads can be had again, "检查更新" is not still taken as busy.
  t.system.workers.noThreads = false;
  OnMenuCommand(t.app, menu::检查更新);
  EXPECT_EQ(t.system.workers.Pending(), 1u);
}

}  // namespace
