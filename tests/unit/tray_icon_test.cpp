#include "tray/tray_icon.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tray/tray_icon_images.h"
#include "tray/tray_tip.h"
#include "fakes/fake_notification_area.h"

namespace {

constexpr std::uintptr_t kWindow = 0x1234;

std::uint32_t U32At(const NotifyIconRecord& r, std::size_t offset) {
  std::uint32_t v;
  std::memcpy(&v, reinterpret_cast<const char*>(&r) + offset, 4);
  return v;
}

std::string TextAt(const NotifyIconRecord& r, std::size_t offset) {
  return reinterpret_cast<const char*>(&r) + offset;
}

class TrayIconTest : public testing::Test {
 protected:
  TrayIconTest() { shell.windows.insert(kWindow); }

  const FakeNotificationArea::ShellCall& Last() { return shell.calls.back(); }

  FakeNotificationArea shell;
  TrayIcon tray{shell};
};

TEST_F(TrayIconTest, TheShellReadsTheRecordInItsOwnLayout) {
  ASSERT_EQ(tray.AddIcon(kWindow, StoppedIconData(), "tip"), 1);
  ASSERT_EQ(shell.calls.size(), 1u);
  EXPECT_EQ(Last().message, NotifyMessage::Add);
  const NotifyIconRecord& added = Last().record;
  EXPECT_EQ(U32At(added, 0), 488u);
  EXPECT_EQ(U32At(added, 4), kWindow);
  EXPECT_EQ(U32At(added, 8), 1u);
  EXPECT_EQ(U32At(added, 12), 0x17u);
  EXPECT_EQ(U32At(added, 16), 11685u);
  EXPECT_EQ(U32At(added, 20), shell.createdIcons.at(0));
  EXPECT_EQ(TextAt(added, 24), "tip");
  EXPECT_EQ(U32At(added, 416), 10000u);

  tray.ShowBalloon("title", "text", BalloonIcon::Error);
  EXPECT_EQ(Last().message, NotifyMessage::Modify);
  EXPECT_EQ(TextAt(Last().record, 160), "text");
  EXPECT_EQ(U32At(Last().record, 416), 3000u);
  EXPECT_EQ(TextAt(Last().record, 420), "title");
  EXPECT_EQ(U32At(Last().record, 484), 3u);
}

TEST_F(TrayIconTest, AddIconOnAnInvalidWindowDoesNothing) {
  EXPECT_EQ(tray.AddIcon(0x999, StoppedIconData(), "tip"), 0);
  EXPECT_TRUE(shell.calls.empty());
  EXPECT_TRUE(shell.iconImages.empty());

  tray.AttachWindow([](int) {});
  EXPECT_TRUE(shell.hooks.empty());
  EXPECT_EQ(tray.Readd(), 0);
  EXPECT_TRUE(shell.calls.empty());
}

TEST_F(TrayIconTest, WithoutImageTheWindowsOwnIconIsShownAndNeverReleased) {
  tray.AddIcon(kWindow);
  EXPECT_EQ(Last().record.icon, shell.windowSmallIcon);
  EXPECT_TRUE(shell.iconImages.empty());

  tray.SetIcon(RunningIconData());
  EXPECT_EQ(Last().record.icon, shell.createdIcons.at(0));
  EXPECT_TRUE(shell.destroyedIcons.empty());
}

TEST_F(TrayIconTest, TextsAreCutToTheirFields) {
  tray.AddIcon(kWindow, StoppedIconData(), std::string(200, 't'));
  EXPECT_EQ(std::string(Last().record.tip), std::string(127, 't'));

  tray.ShowBalloon(std::string(100, 'h'), std::string(300, 'b'), BalloonIcon::Info);
  EXPECT_EQ(std::string(Last().record.balloonTitle), std::string(63, 'h'));
  EXPECT_EQ(std::string(Last().record.balloonText), std::string(255, 'b'));

  // 127 bytes of "中" would end on a lead byte: the half character goes.
  std::string chinese;
  for (int i = 0; i < 100; ++i) chinese += "\xD6\xD0";
  tray.SetTip(chinese);
  EXPECT_EQ(std::string(Last().record.tip), chinese.substr(0, 126));

  // A second byte in the ASCII range ('@' of 丂, 81 40) still goes with its lead.
  std::string low;
  for (int i = 0; i < 100; ++i) low += "\x81\x40";
  tray.SetTip(low);
  EXPECT_EQ(std::string(Last().record.tip), low.substr(0, 126));
  tray.ShowBalloon(low, "", BalloonIcon::None);
  EXPECT_EQ(std::string(Last().record.balloonTitle), low.substr(0, 62));

  // A second byte in the lead range (A1 of 啊, B0 A1) is not a new character:
  // the field ends on it.
  std::string shifted = "x";
  for (int i = 0; i < 100; ++i) shifted += "\xB0\xA1";
  tray.SetTip(shifted);
  EXPECT_EQ(std::string(Last().record.tip), shifted.substr(0, 127));
}

TEST(StoppedTip, FitsTheTipFieldWhole) {
  // The longest Run mode and port must survive the 127-byte cut.
  const std::string tip = StoppedTip("SOCKS5", "65535");
  EXPECT_LE(tip.size(), 127u);
  EXPECT_TRUE(tip.starts_with("Corvane\r\n"));
  EXPECT_TRUE(tip.ends_with("\r\n本地代理: SOCKS5 127.0.0.1:65535"));
}

TEST_F(TrayIconTest, ABalloonIsSentOnceAndLaterChangesLeaveItOut) {
  tray.AddIcon(kWindow, StoppedIconData(), "stopped");
  tray.ShowBalloon("提示", "已启动", BalloonIcon::Info);
  EXPECT_EQ(Last().record.flags, 0x17u);

  tray.SetTip("running");
  EXPECT_EQ(std::string(Last().record.tip), "running");
  EXPECT_EQ(Last().record.flags, 0x07u);

  tray.SetIcon(RunningIconData());
  EXPECT_EQ(Last().message, NotifyMessage::Modify);
  EXPECT_EQ(Last().record.icon, shell.createdIcons.back());
  EXPECT_EQ(Last().record.flags, 0x07u);
  EXPECT_EQ(std::string(Last().record.tip), "running");

  tray.ShowBalloon("提示", "已停止", BalloonIcon::None);
  EXPECT_EQ(Last().record.flags, 0x17u);
  EXPECT_EQ(std::string(Last().record.balloonText), "已停止");
}

TEST_F(TrayIconTest, SetIconWithoutAnIconMakesNoShellCall) {
  tray.AddIcon(kWindow, StoppedIconData(), "tip");
  const std::size_t before = shell.calls.size();
  const std::uint32_t shown = Last().record.icon;

  const auto data = RunningIconData();
  EXPECT_EQ(tray.SetIcon(data.first(100)), 0);  // directory points past the end
  EXPECT_EQ(tray.SetIcon({}), 0);
  shell.iconsFail = true;
  EXPECT_EQ(tray.SetIcon(data), 0);

  EXPECT_EQ(shell.calls.size(), before);
  tray.SetTip("x");
  EXPECT_EQ(Last().record.icon, shown);
}

TEST_F(TrayIconTest, SetIconReleasesTheImageItReplacesAfterTheShellHasTheNewOne) {
  tray.AddIcon(kWindow, StoppedIconData(), "tip");
  const std::uintptr_t first = shell.createdIcons.at(0);
  tray.SetIcon(RunningIconData());
  EXPECT_EQ(shell.destroyedIcons, std::vector<std::uintptr_t>{first});
  EXPECT_NE(Last().record.icon, first);
}

TEST_F(TrayIconTest, IconFromIcoDataHandsOverTheImageOfTheEntry) {
  int width = 0, height = 0;
  const auto data = StoppedIconData();
  EXPECT_NE(tray.IconFromIcoData(data, 0, &width, &height), 0u);
  EXPECT_EQ(width, 16);
  EXPECT_EQ(height, 16);
  ASSERT_EQ(shell.iconImages.size(), 1u);
  EXPECT_EQ(shell.iconImages[0], std::vector<unsigned char>(data.begin() + 22, data.end()));

  EXPECT_EQ(tray.IconFromIcoData(data, 1), 0u);
  EXPECT_EQ(shell.iconImages.size(), 1u);
}

TEST_F(TrayIconTest, AttachAndRemoveHookAndUnhookTheWindow) {
  tray.AddIcon(kWindow, StoppedIconData(), "tip");
  std::vector<int> events;
  tray.AttachWindow([&](int code) { events.push_back(code); });
  ASSERT_EQ(shell.hooks.size(), 1u);
  EXPECT_EQ(shell.hooks[0].window, kWindow);
  EXPECT_EQ(shell.hooks[0].hook.callbackMessage, 11685u);
  EXPECT_EQ(shell.hooks[0].hook.taskbarCreatedMessage, shell.taskbarCreatedMessage);
  shell.Raise(TrayEvent::RightButtonUp);
  EXPECT_EQ(events, std::vector<int>{TrayEvent::RightButtonUp});

  tray.ShowBalloon("t", "b", BalloonIcon::Info);
  EXPECT_EQ(tray.RemoveIcon(), 1);
  EXPECT_EQ(shell.unhooked, std::vector<std::uintptr_t>{shell.windowProcedure});
  EXPECT_EQ(Last().message, NotifyMessage::Delete);
  EXPECT_EQ(Last().record.window, kWindow);  // the shell finds the icon by window and id
  EXPECT_EQ(Last().record.iconId, 1u);
  EXPECT_EQ(Last().record.balloonText[0], '\0');
  EXPECT_EQ(Last().record.balloonTitle[0], '\0');

  // Removed: nothing to re-add, nothing to unhook again.
  EXPECT_EQ(tray.Readd(), 0);
  tray.RemoveIcon();
  EXPECT_EQ(shell.unhooked.size(), 1u);
}

TEST_F(TrayIconTest, AttachingTwiceUnhooksFirst) {
  tray.AddIcon(kWindow, StoppedIconData(), "tip");
  tray.AttachWindow();
  tray.AttachWindow();
  EXPECT_EQ(shell.hooks.size(), 2u);
  EXPECT_EQ(shell.unhooked.size(), 1u);
  EXPECT_EQ(shell.hooks[1].hook.handler, nullptr);
}

TEST_F(TrayIconTest, ReaddShowsTheCurrentTipAndImageWithoutTheOldBalloon) {
  tray.AddIcon(kWindow, StoppedIconData(), "stopped");
  tray.ShowBalloon("提示", "已启动", BalloonIcon::Info);
  tray.SetIcon(RunningIconData());
  tray.SetTip("running");

  EXPECT_EQ(tray.Readd(), 1);
  EXPECT_EQ(Last().message, NotifyMessage::Add);
  EXPECT_EQ(Last().record.window, kWindow);
  EXPECT_EQ(Last().record.icon, shell.createdIcons.back());
  EXPECT_EQ(std::string(Last().record.tip), "running");
  EXPECT_EQ(Last().record.flags, 0x07u);
}

TEST_F(TrayIconTest, DestroyRemovesTheIconAndReleasesItsImage) {
  auto owned = std::make_unique<TrayIcon>(shell);
  owned->AddIcon(kWindow, StoppedIconData(), "tip");
  owned->AttachWindow();
  owned.reset();
  EXPECT_EQ(Last().message, NotifyMessage::Delete);
  EXPECT_EQ(shell.unhooked.size(), 1u);
  EXPECT_EQ(shell.destroyedIcons, std::vector<std::uintptr_t>{shell.createdIcons.at(0)});
}

TEST_F(TrayIconTest, CallsFromSeveralThreadsSendWholeRecords) {
  tray.AddIcon(kWindow, StoppedIconData(), "tip");
  std::vector<std::thread> workers;
  for (char c : {'a', 'b', 'c', 'd'}) {
    workers.emplace_back([this, c] {
      const std::string tip(127, c), text(255, c);
      for (int i = 0; i < 300; ++i) {
        tray.SetTip(tip);
        tray.ShowBalloon("", text, BalloonIcon::None);
      }
    });
  }
  for (auto& w : workers) w.join();

  ASSERT_EQ(shell.calls.size(), 1u + 4 * 300 * 2);
  for (const auto& call : shell.calls) {
    const std::string tip = call.record.tip;
    if (tip == "tip") continue;
    ASSERT_EQ(tip, std::string(127, tip[0]));
    const std::string text = call.record.balloonText;
    if (!text.empty()) {
      ASSERT_EQ(text, std::string(255, text[0]));
    }
  }
}

// The end of a session arrives while the engine's balloon is on its way to
// the shell and removes the icon from inside that call. Run on a thread of
// its own and left behind should it hang, with what it uses.
TEST(TrayIconReentry, AMessageHandledDuringAShellCallMayRemoveTheIcon) {
  auto* shell = new FakeNotificationArea;
  shell->windows.insert(kWindow);
  auto* tray = new TrayIcon(*shell);
  tray->AddIcon(kWindow, StoppedIconData(), "tip");
  shell->whileWaiting = [tray] { tray->RemoveIcon(); };
  auto returned = std::make_shared<std::promise<void>>();
  std::future<void> done = returned->get_future();
  std::thread([tray, returned] {
    tray->ShowBalloon("t", "x", BalloonIcon::None);
    returned->set_value();
  }).detach();
  ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the call never returned";
  ASSERT_EQ(shell->calls.size(), 3u);
  EXPECT_EQ(shell->calls[2].message, NotifyMessage::Delete);
  delete tray;
  delete shell;
}

}  // namespace
