// Starting the engine: the field checks, the VPN markers, the launch and
// its check, the running look, the saved row and the proxy mode applied.
#include <gtest/gtest.h>

#include "app/events.h"
#include "app/startup.h"
#include "config/node_list.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine_test_fixture.h"

namespace {

class EngineStartTest : public EngineTest {
 protected:
  std::string ExpectedClientLine() const {
    return "\"" + EnginePath() + "\" client -l 127.0.0.1:2080 -i 127.0.0.1 -s \"198.51.100.7:9999\" -p \"secret\" --http";
  }
  void ExpectNothingStarted() {
    EXPECT_TRUE(engine.processes.launched.empty());
    EXPECT_FALSE(Running());
    EXPECT_EQ(t.app.run.protocol, -1);
    EXPECT_TRUE(t.form.MenuEnabled(menu::启动代理));
    EXPECT_FALSE(t.form.MenuEnabled(menu::停止代理));
    EXPECT_EQ(t.form.StatusText(1), "   状态：未运行");
    EXPECT_FALSE(Setting("ProxyEnable"));  // no system setting written
  }
};

TEST_F(EngineStartTest, TheFirstEmptyFieldIsNamedAndNothingStarts) {
  const struct {
    Ctl field;
    const char* message;
  } fields[] = {
      {Ctl::编辑框_文件位置, "文件位置 不能为空！ \r\n文件位置指的是 Brook Windows命令行版客户端的位置。"},
      {Ctl::编辑框_本地端口, "本地端口 不能为空！"},
      {Ctl::编辑框_服务器IP, "服务器IP 不能为空！"},
      {Ctl::编辑框_服务器端口, "服务器端口 不能为空！"},
      {Ctl::编辑框_服务器密码, "服务器密码 不能为空！"},
  };
  for (const auto& field : fields) t.form.SetText(field.field, "");
  t.form.SetComboSelection(Ctl::组合框_服务器协议, -1);
  for (const auto& field : fields) {
    t.form.messages.clear();
    StartEngine(t.app, false);
    ASSERT_EQ(t.form.messages.size(), 1u);
    EXPECT_EQ(t.form.messages[0].text, field.message);
    EXPECT_EQ(t.form.messages[0].title, "错误");
    t.form.SetText(field.field, " ");  // a blank is not empty
  }
  t.form.messages.clear();
  StartEngine(t.app, false);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "服务器协议 不能为空！");
  ExpectNothingStarted();
}

TEST_F(EngineStartTest, AFailedVpnPreparationIsExplainedAndNothingStarts) {
  Node("198.51.100.7", "9999", "secret", 2);
  StartEngine(t.app, false);  // no TAP adapter at all
  engine.adapters.adapters = {{"TAP-Windows Adapter V9", "", "0.0.0.0", ""}};
  StartEngine(t.app, false);
  UseCustomGateway("", "", "");
  StartEngine(t.app, false);

  ASSERT_EQ(t.form.messages.size(), 3u);
  EXPECT_EQ(t.form.messages[0].text,
            "没有检测到 TAP虚拟网卡，请安装，教程请见： https://corvane.example.com/help/tap-windows.html 。");
  EXPECT_EQ(t.form.messages[1].text,
            "没有检测到当前网卡的默认网关，请勾选[自定义默认网关]选项并填写默认网关，默认网关可在 CMD 中运行 ipconfig "
            "获得，具体请见 https://corvane.example.com/help/default-gateway.html 。");
  EXPECT_EQ(t.form.messages[2].text, "你已勾选[自定义默认网关]选项，请填写默认网关！");
  for (const auto& box : t.form.messages) EXPECT_EQ(box.title, "错误");
  ExpectNothingStarted();
}

TEST_F(EngineStartTest, ASuccessfulStartShowsTheRunningLookEverywhere) {
  NewNode(t.app);  // a second row, selected
  Node("198.51.100.7", "9999", "secret", 0);
  t.form.SetText(Ctl::编辑框_服务器备注, "东京");
  CheckProxyMode(menu::全局模式);
  StartEngine(t.app, false);

  EXPECT_EQ(engine.processes.launched, std::vector<std::string>{ExpectedClientLine()});
  EXPECT_EQ(engine.wait.waits, std::vector<unsigned>{500});
  EXPECT_TRUE(t.form.messages.empty());

  const RunState& run = t.app.run;
  EXPECT_EQ(run.protocol, 0);
  EXPECT_EQ(run.serverAddress, "198.51.100.7");
  EXPECT_EQ(run.serverPort, "9999");
  EXPECT_EQ(run.password, "secret");
  EXPECT_EQ(run.remark, "东京");

  EXPECT_TRUE(Running());
  EXPECT_TRUE(t.form.Enabled(Ctl::按钮_停止));
  for (Ctl c : {Ctl::编辑框_本地端口, Ctl::选择框_局域网连接, Ctl::编辑框_VPN设置_网卡名称, Ctl::编辑框_VPN设置_首选DNS,
                Ctl::编辑框_VPN设置_默认网关, Ctl::选择框_自定义默认网关})
    EXPECT_FALSE(t.form.Enabled(c));
  EXPECT_FALSE(t.form.MenuEnabled(menu::启动代理));
  EXPECT_TRUE(t.form.MenuEnabled(menu::停止代理));
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));
  EXPECT_EQ(t.form.StatusText(1), "   状态：正在运行");
  EXPECT_EQ(t.form.MenuCaption(menu::状态), "状态：正在运行");
  EXPECT_TRUE(t.form.MenuChecked(menu::状态));

  const auto balloon = LastBalloon();
  ASSERT_TRUE(balloon);
  EXPECT_EQ(balloon->title, "Brook 启动成功！");
  EXPECT_EQ(balloon->text, "HTTP 代理：127.0.0.1:2080");
  EXPECT_EQ(balloon->kind, BalloonIcon::None);
  EXPECT_EQ(Tip(), "Corvane\r\n状态：[正在运行]\r\n本地代理: HTTP 127.0.0.1:2080\r\n当前连接: 198.51.100.7:9999");
  EXPECT_TRUE(IconFrom(RunningIconData()));

  EXPECT_EQ(Saved("NodeList", "Select node"), "1");
  EXPECT_EQ(Setting("ProxyEnable")->number, 1u);
  EXPECT_EQ(Setting("ProxyServer")->bytes, "127.0.0.1:2080");
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "2");
}

TEST_F(EngineStartTest, AQuietStartDiffersOnlyByTheMissingBalloon) {
  t.form.SetChecked(Ctl::选择框_局域网连接, true);
  t.app.run.runMode = "SOCKS5";
  CheckProxyMode(menu::PAC模式);
  t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\"; }");
  StartEngine(t.app, true);

  EXPECT_TRUE(Running());
  EXPECT_EQ(t.app.run.serverAddress, "198.51.100.7");
  for (const Balloon& b : Balloons()) EXPECT_TRUE(b.title.empty()) << b.title;
  // The LAN may connect, yet the texts name the loopback.
  EXPECT_EQ(Tip(), "Corvane\r\n状态：[正在运行]\r\n本地代理: SOCKS5 127.0.0.1:2080\r\n当前连接: 198.51.100.7:9999");
  EXPECT_TRUE(IconFrom(RunningIconData()));
  EXPECT_EQ(Saved("NodeList", "Select node"), "0");
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "http://127.0.0.1:50123/000102030405060708090a0b0c0d0e0f/pac?t=1");

  // A loud start in SOCKS5 says so in its balloon.
  StopEngine(t.app);
  t.form.SetChecked(Ctl::选择框_局域网连接, false);
  StartEngine(t.app, false);
  EXPECT_EQ(LastBalloon()->text, "SOCKS5 代理：127.0.0.1:2080");
}

TEST_F(EngineStartTest, AnEngineThatDoesNotComeUpGivesOnlyTheFailureBalloon) {
  for (bool launchFails : {false, true}) {
    engine.processes.engineComesUp = false;
    engine.processes.launchFails = launchFails;
    StartEngine(t.app, false);
    const auto balloon = LastBalloon();
    ASSERT_TRUE(balloon);
    EXPECT_EQ(balloon->title, "Brook 启动失败！");
    EXPECT_EQ(balloon->text, "请检查配置。");
    EXPECT_EQ(balloon->kind, BalloonIcon::Error);
    EXPECT_TRUE(t.form.messages.empty());
    EXPECT_FALSE(Running());
    EXPECT_EQ(t.app.run.protocol, -1);
    EXPECT_FALSE(IconFrom(RunningIconData()));
    EXPECT_FALSE(Setting("AutoConfigURL"));
    EXPECT_EQ(Saved("NodeList", "Select node"), "(none)");
  }
  // The engine's last words say why.
  engine.processes.printed = "listen tcp 127.0.0.1:2080: bind: address already in use";
  StartEngine(t.app, false);
  EXPECT_EQ(LastBalloon()->text, "请检查配置。\r\nlisten tcp 127.0.0.1:2080: bind: address already in use");
  // Printed in UTF-8, as Brook prints, they read in the balloon's GBK.
  engine.processes.printed = reinterpret_cast<const char*>(u8"open D:\\代理\\config: 拒绝访问。");
  StartEngine(t.app, false);
  EXPECT_EQ(LastBalloon()->text, "请检查配置。\r\nopen D:\\代理\\config: 拒绝访问。");
  EXPECT_EQ(engine.processes.logPaths.back(), t.folder.Path() + "\\brook.log");
}

TEST_F(EngineStartTest, AVpnStartListensOnTheLoopbackAndAlwaysAppliesDirect) {
  engine.adapters.adapters = {{"Ethernet", "以太网", "192.168.1.1", "192.168.1.1"},
                              {"TAP-Windows Adapter V9", "以太网 2", "0.0.0.0", ""}};
  Node("198.51.100.7", "9999", "secret", 2);
  CheckProxyMode(menu::PAC模式);
  StartEngine(t.app, false);

  EXPECT_EQ(engine.processes.launched,
            std::vector<std::string>{"\"" + EnginePath() +
                                     "\" vpn -l 127.0.0.1:2080 -s \"198.51.100.7:9999\" -p \"secret\" --defaultGateway "
                                     "192.168.1.1"});
  EXPECT_EQ(t.app.run.protocol, 2);
  EXPECT_EQ(t.app.run.vpnConnectionName, "以太网");
  EXPECT_EQ(LastBalloon()->text, "VPN 模式：127.0.0.1:2080");
  EXPECT_EQ(Tip(), "Corvane\r\n状态：[正在运行]\r\n本地代理: VPN 127.0.0.1:2080\r\n当前连接: 198.51.100.7:9999");
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::PAC模式));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "0");
  EXPECT_TRUE(ProxyCleared());
  // Its listener speaks SOCKS5 whatever the Run mode says.
  EXPECT_EQ(t.app.run.listener, "SOCKS5");
  EXPECT_FALSE(t.form.MenuEnabled(menu::全局模式));
  StopEngine(t.app);
  EXPECT_TRUE(t.form.MenuEnabled(menu::全局模式));
}

TEST_F(EngineStartTest, RequestsDuringTheWaitAreIgnoredAndTheLaunchedNodeIsRecorded) {
  engine.wait.meanwhile = [&] {
    t.form.onEvent(Ctl::按钮_启动, ControlEvent::Clicked);
    OnMenuCommand(t.app, menu::启动代理);
    t.form.SetText(Ctl::编辑框_服务器IP, "203.0.113.9");  // the user goes on typing
  };
  StartEngine(t.app, false);
  EXPECT_EQ(engine.processes.launched.size(), 1u);
  EXPECT_EQ(EnginesRunning(), 1u);
  EXPECT_EQ(t.app.run.serverAddress, "198.51.100.7");
  EXPECT_NE(Tip().find("198.51.100.7:9999"), std::string::npos);

  // The guard ends with the start: the next request is heard again.
  StopEngine(t.app);
  engine.wait.meanwhile = nullptr;
  StartEngine(t.app, false);
  EXPECT_EQ(engine.processes.launched.size(), 2u);
}

TEST_F(EngineStartTest, AProgramEndingDuringTheWaitSetsNothingUp) {
  CheckProxyMode(menu::全局模式);
  engine.wait.programEnds = true;
  StartEngine(t.app, false);
  EXPECT_EQ(engine.processes.launched.size(), 1u);
  EXPECT_FALSE(Running());
  EXPECT_FALSE(Setting("ProxyEnable"));
  EXPECT_FALSE(LastBalloon());
}

TEST_F(EngineStartTest, ButtonAndTrayItemStartTheEngine) {
  t.form.onEvent(Ctl::按钮_启动, ControlEvent::Clicked);
  EXPECT_TRUE(Running());
  OnMenuCommand(t.app, menu::停止代理);
  EXPECT_FALSE(Running());
  OnMenuCommand(t.app, menu::启动代理);
  EXPECT_TRUE(Running());
  t.form.onEvent(Ctl::按钮_停止, ControlEvent::Clicked);
  EXPECT_FALSE(Running());
  EXPECT_EQ(engine.processes.launched.size(), 2u);
  EXPECT_EQ(EnginesRunning(), 0u);
}

TEST(StartupStart, AStartNotFromTheShellStartsTheSavedNodeQuietly) {
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nFile=C:\\brook\\brook.exe\r\nRun Mode=SOCKS5\r\nProxy Mode=0\r\n"
                "[NodeList]\r\nNum=2\r\nSelect node=1\r\n"
                "[Node]\r\nNode1=192.0.2.1 1111 one 0 a\r\nNode2=192.0.2.2 2222 two 1 b\r\n");
  t.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 30}};
  RunStartupSequence(t.app);
  EXPECT_EQ(t.engine.processes.launched,
            std::vector<std::string>{
                "\"C:\\brook\\brook.exe\" streamclient -l 127.0.0.1:2080 -i 127.0.0.1 -s \"192.0.2.2:2222\" -p \"two\""});
  EXPECT_FALSE(t.form.Enabled(Ctl::按钮_启动));
  EXPECT_TRUE(t.form.messages.empty());

  TestApp shell;
  shell.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 10}};
  RunStartupSequence(shell.app);
  EXPECT_TRUE(shell.engine.processes.launched.empty());
}

}  // namespace
