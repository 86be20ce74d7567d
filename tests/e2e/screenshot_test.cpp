// Pictures of both pages of the window and of a balloon, for a person to look
// at; a test fails only when a page cannot be shown or the picture is not
// taken.
#include "e2e_test.h"
#include "driver/screenshot.h"

namespace e2e {
namespace {

class Screenshots : public E2eTest {
 protected:
  void SetUp() override {
    // Without a window manager on the X display nobody would draw the
    // window's frame and caption; Wine draws them itself when told so.
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\corvane.exe\\X11 Driver", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "Decorated", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
      RegCloseKey(key);
    }
  }

  void Shoot(const CorvaneWindow& window, int page, const char* name) {
    ASSERT_TRUE(window.ShowPage(page));
    RedrawWindow(window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ASSERT_TRUE(window.Sync());
    // Wine hands the drawing to the X server on its own time.
    Sleep(300);
    EXPECT_TRUE(TakeScreenshot(name, kActionTimeout)) << name;
  }
};

TEST_F(Screenshots, BothPages) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->Visible());
  SetForegroundWindow(window->Handle());
  Shoot(*window, 1, "page1");
  Shoot(*window, 0, "page0");
}

// Wine's own notification area draws the latency test's balloon as a user
// would see it; Wine waits two seconds before it shows a balloon.
TEST_F(Screenshots, LatencyBalloon) {
  WriteRunnableConfig();  // its node is 127.0.0.1
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_检测延迟);
  Sleep(3500);
  EXPECT_TRUE(TakeScreenshot("latency-balloon", kActionTimeout));
}

}  // namespace
}  // namespace e2e
