#include "diag/latency_test.h"

#include <gtest/gtest.h>

#include <climits>

#include "context/tray_menu_layout.h"
#include "fakes/balloon_recorder.h"
#include "fakes/fake_platform.h"
#include "platform/icmp_echo.h"

namespace {

class LatencyTest : public ::testing::Test {
 protected:
  LatencyTest() { t.form.SetText(Ctl::编辑框_服务器IP, "10.1.2.3"); }
  bool ButtonEnabled() const { return t.form.Enabled(Ctl::按钮_检测延迟); }
  bool ItemEnabled() const { return t.form.MenuEnabled(menu::检测延迟); }
  void EngineRuns(const std::string& server, int protocol) {
    t.form.SetEnabled(Ctl::按钮_启动, false);
    t.app.run.protocol = protocol;
    t.app.run.serverAddress = server;
  }

  TestApp t;
  BalloonRecorder balloons{t.app};
};

TEST_F(LatencyTest, AnAnswerIsReportedWithItsTimeAndBothWaysInComeBack) {
  t.diag.icmp.answers = {0};
  t.form.onEvent(Ctl::按钮_检测延迟, ControlEvent::Clicked);
  EXPECT_FALSE(ButtonEnabled());
  EXPECT_FALSE(ItemEnabled());
  ASSERT_EQ(t.diag.workers.Pending(), 1u);
  t.diag.workers.RunAll();

  ASSERT_EQ(t.diag.icmp.pings.size(), 1u);
  EXPECT_EQ(t.diag.icmp.pings[0], std::make_pair(std::string("10.1.2.3"), 2000));
  const ShownBalloon b = balloons.Last();
  EXPECT_EQ(b.title, "测试延迟成功！");
  EXPECT_EQ(b.text, "[10.1.2.3] 延迟为：0ms");
  EXPECT_EQ(b.icon, BalloonIcon::None);
  EXPECT_TRUE(ButtonEnabled());
  EXPECT_TRUE(ItemEnabled());
}

TEST_F(LatencyTest, NoAnswerIsTriedOnceMoreThenReportedAsATimeOut) {
  t.form.SetText(Ctl::编辑框_服务器IP, "vps.example");
  StartLatencyTest(t.app, LatencySource::Button);
  t.diag.workers.RunAll();
  EXPECT_EQ(t.diag.icmp.pings.size(), 2u);
  const ShownBalloon b = balloons.Last();
  EXPECT_EQ(b.title, "测试延迟超时！");
  EXPECT_EQ(b.text, "[vps.example] 延迟为：超时！\r\n可能服务器禁Ping或丢包，请尝试多次测试延迟！");
  EXPECT_EQ(b.icon, BalloonIcon::Error);

  t.diag.icmp.answers = {-1, 37};
  StartLatencyTest(t.app, LatencySource::Button);
  t.diag.workers.RunAll();
  EXPECT_EQ(t.diag.icmp.pings.size(), 4u);
  EXPECT_EQ(balloons.Last().text, "[vps.example] 延迟为：37ms");
}

TEST_F(LatencyTest, TheTrayMeasuresTheRunningNodeAndTheButtonTheEditedOne) {
  EngineRuns("203.0.113.9", 0);
  t.diag.icmp.answers = {5, 6};
  OnMenuCommand(t.app, menu::检测延迟);
  t.diag.workers.RunAll();
  EXPECT_EQ(t.diag.icmp.pings.back().first, "203.0.113.9");
  StartLatencyTest(t.app, LatencySource::Button);
  t.diag.workers.RunAll();
  EXPECT_EQ(t.diag.icmp.pings.back().first, "10.1.2.3");
}

TEST_F(LatencyTest, FromTheTrayWhileStoppedTheEditedAddressIsMeasured) {
  t.app.run.serverAddress = "stale.example";  // kept from an earlier run
  t.diag.icmp.answers = {1};
  StartLatencyTest(t.app, LatencySource::TrayMenu);
  t.diag.workers.RunAll();
  EXPECT_EQ(t.diag.icmp.pings.back().first, "10.1.2.3");
}

TEST_F(LatencyTest, AVpnNodeMeasuresNothingAndDisablesNothing) {
  EngineRuns("203.0.113.9", 2);
  for (LatencySource source : {LatencySource::Button, LatencySource::TrayMenu}) {
    StartLatencyTest(t.app, source);
    EXPECT_EQ(t.diag.workers.started, 0);
    EXPECT_TRUE(ButtonEnabled());
    EXPECT_TRUE(ItemEnabled());
    const ShownBalloon b = balloons.Last();
    EXPECT_EQ(b.title, "VPN 模式不支持检测延迟！");
    EXPECT_EQ(b.text, "请更换其他协议后，再使用检测延迟！");
    EXPECT_EQ(b.icon, BalloonIcon::Error);
  }
}

TEST_F(LatencyTest, AnEmptyAddressIsAMessageAndTheControlsComeBack) {
  t.form.SetText(Ctl::编辑框_服务器IP, "");
  StartLatencyTest(t.app, LatencySource::Button);
  t.diag.workers.RunAll();
  EXPECT_TRUE(t.diag.icmp.pings.empty());
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "服务器IP 不能为空！");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_EQ(balloons.Count(), 0u);
  EXPECT_TRUE(ButtonEnabled());
  EXPECT_TRUE(ItemEnabled());
}

}  // namespace

namespace {

TEST(IcmpReply, OnlyASuccessfulReplyIsAnAnswer) {
  constexpr std::uint32_t kDestinationHostUnreachable = 11003, kTtlExpiredInTransit = 11013, kSuccess = 0;
  EXPECT_EQ(RoundTripOfReply(1, kSuccess, 23), 23);
  EXPECT_EQ(RoundTripOfReply(1, kSuccess, 0), 0);
  EXPECT_EQ(RoundTripOfReply(1, kDestinationHostUnreachable, 1), -1);
  EXPECT_EQ(RoundTripOfReply(1, kTtlExpiredInTransit, 5), -1);
  EXPECT_EQ(RoundTripOfReply(0, kSuccess, 5), -1);  // nothing came back
  EXPECT_EQ(RoundTripOfReply(1, kSuccess, 0xFFFFFFFFu), INT_MAX);
}

}  // namespace
