// An engine that ends by itself: started again within the budget, given up
// on after it (or at once after a VPN run) with the user's proxy back; news
// that comes after the program's own stop changes nothing; the logon's
// restore; the engine's last line.
#include <gtest/gtest.h>

#include "app/proxy_restore.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine/restart_budget.h"
#include "engine_test_fixture.h"
#include "platform/last_line.h"

namespace {

const std::string kRunOnce = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

class EngineWatchTest : public EngineTest {
 protected:
  std::optional<FakeRegistry::Value> RestoreAtLogon() const {
    return system.registry.Get(RegistryRoot::CurrentUser, kRunOnce, "Corvane proxy restore");
  }
  void UsersOwnProxy() {
    PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", 1});
    PutSetting("ProxyServer", {FakeRegistry::Type::String, "10.0.0.1:3128"});
  }
  bool UsersProxyBack() const {
    return Setting("ProxyEnable")->number == 1 && Setting("ProxyServer")->bytes == "10.0.0.1:3128";
  }
  // The engine dies; the window's thread hears of it. The delay of the
  // restart that follows, if any.
  std::optional<unsigned> EngineDies(std::uint32_t exitCode) {
    engine.processes.EngineDies(exitCode);
    t.form.RunPosted();
    if (t.form.posted.empty()) return std::nullopt;
    return t.form.posted.back().delay;
  }
};

TEST_F(EngineWatchTest, ThreeRestartsAMinuteWithTheLaunchedCommandThenTheUsersProxyComesBack) {
  UsersOwnProxy();
  CheckProxyMode(menu::全局模式);
  StartEngine(t.app, false);
  ASSERT_TRUE(Running());
  const std::string launched = engine.processes.launched.back();
  ASSERT_EQ(RestoreAtLogon()->bytes, "\"" + t.folder.Path() + "\\corvane.exe\" /restore-proxy");
  Node("203.0.113.9", "1", "typing", 0);  // the editor is not what runs

  for (unsigned delay : {0u, 1000u, 2000u}) {
    ASSERT_EQ(EngineDies(1), delay);
    t.form.RunPosted();
    EXPECT_EQ(engine.processes.launched.back(), launched);
    EXPECT_TRUE(engine.processes.EngineRunning());
    EXPECT_EQ(Setting("ProxyServer")->bytes, "127.0.0.1:2080");
    EXPECT_EQ(LastBalloon()->title, "Brook 已重新启动");
    EXPECT_NE(LastBalloon()->text.find("退出代码 1"), std::string::npos);
  }
  engine.processes.printed = "dial tcp: i/o timeout";
  EXPECT_EQ(EngineDies(7), std::nullopt);
  EXPECT_EQ(engine.processes.launched.size(), 4u);
  EXPECT_FALSE(Running());
  EXPECT_FALSE(t.form.Enabled(Ctl::按钮_停止));
  EXPECT_TRUE(UsersProxyBack());
  EXPECT_FALSE(RestoreAtLogon());
  EXPECT_TRUE(t.form.messages.empty());
  EXPECT_EQ(LastBalloon()->kind, BalloonIcon::Error);
  EXPECT_EQ(LastBalloon()->text, "Brook 进程已退出（退出代码 7），已停止代理。\r\ndial tcp: i/o timeout");
  EXPECT_NE(Tip().find("[未运行]"), std::string::npos);

  // A launch that fails counts as an end; a minute later the budget is whole.
  std::vector<std::uint32_t> restarts;
  EXPECT_EQ(NextRestartDelay(restarts, 0xFFFFF000u), 0u);  // across the tick count's wrap
  EXPECT_EQ(NextRestartDelay(restarts, 0xFFFFF000u + 59999), 1000u);
  EXPECT_EQ(NextRestartDelay(restarts, 0xFFFFF000u + 60000), 1000u);
  StartEngine(t.app, false);
  engine.processes.launchFails = true;
  ASSERT_EQ(EngineDies(1), 0u);
  EXPECT_EQ(t.form.RunPosted(), std::vector<unsigned>{0});  // the failed launch posts the next try
  EXPECT_EQ(t.form.posted.back().delay, 1000u);
}

TEST_F(EngineWatchTest, NoRestartAfterAVpnRunOrAfterTheProgramsOwnStop) {
  UseCustomGateway("192.168.1.1", "192.168.1.53", "Wi-Fi");
  Node("198.51.100.7", "9999", "secret", 2);
  StartEngine(t.app, false);
  engine.commands.exitCode = 0;
  EXPECT_EQ(EngineDies(1), std::nullopt);
  EXPECT_FALSE(Running());
  EXPECT_EQ(engine.processes.launched.size(), 1u);
  ASSERT_EQ(engine.commands.captured.size(), 1u);  // the DNS is back
  EXPECT_EQ(LastBalloon()->kind, BalloonIcon::Error);

  // The end is heard only after the stop, or the stop comes while a
  // restart waits; the user starts again: the old news starts nothing.
  Node("198.51.100.7", "9999", "secret", 0);
  for (bool restartWaits : {false, true}) {
    StartEngine(t.app, false);
    engine.processes.EngineDies(1);
    if (restartWaits) t.form.RunPosted();
    StopEngine(t.app);
    EXPECT_EQ(t.form.messages.back().text, "Brook 进程似乎不存在！");
    StartEngine(t.app, false);
    const std::size_t launches = engine.processes.launched.size();
    t.form.RunPosted();
    EXPECT_EQ(engine.processes.launched.size(), launches);
    EXPECT_TRUE(engine.processes.EngineRunning());
    StopEngine(t.app);
  }
}

TEST_F(EngineWatchTest, TheLogonRestoreGivesBackOnlyWhatIsCorvanesAndNothingWhileACopyRuns) {
  t.WriteConfig("[BasisConfig]\r\nLocal port=2080\r\n");
  PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", 1});
  PutSetting("ProxyServer", {FakeRegistry::Type::String, "127.0.0.1:2080"});
  PutSetting("AutoConfigURL", {FakeRegistry::Type::String, "http://wpad.example/proxy.pac"});
  t.instance.otherRunning = true;
  RunProxyRestore(t.app);
  EXPECT_EQ(Setting("ProxyServer")->bytes, "127.0.0.1:2080");

  t.instance.otherRunning = false;
  RunProxyRestore(t.app);
  EXPECT_EQ(Setting("ProxyEnable")->number, 0u);
  EXPECT_FALSE(Setting("ProxyServer"));
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "http://wpad.example/proxy.pac");
  EXPECT_FALSE(t.instance.recoveryLocked);
  EXPECT_TRUE(t.form.messages.empty());
}

TEST(LastLine, ComesWholeFromPiecesWithoutBreaksOrBlanksAndStaysBounded) {
  LastLine last;
  for (std::string_view piece : {"first\r\nsec", "ond: port ", "in use\r\n", "  \r\n"}) last.Add(piece);
  EXPECT_EQ(last.Get(), "second: port in use");
  last.Add("no break yet");
  EXPECT_EQ(last.Get(), "no break yet");
  last.Add(std::string(100000, 'x'));
  EXPECT_EQ(last.Get().size(), LastLine::kMaxBytes);
}

}  // namespace
