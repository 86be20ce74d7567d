// Stopping the engine and the cleanup when the program ends: the process,
// the DNS after a VPN run, the system proxy and the stopped look.
#include <gtest/gtest.h>

#include "app/events.h"
#include "app/startup.h"
#include "argv_splitter.h"
#include "engine/adapter_dns.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine_test_fixture.h"
#include "shared/command_line_quoting.h"

namespace {

class EngineStopTest : public EngineTest {
 protected:
  // A VPN node started with a custom gateway, which records these values.
  void StartVpn(const std::string& gateway, const std::string& dns, const std::string& name) {
    UseCustomGateway(gateway, dns, name);
    Node("198.51.100.7", "9999", "secret", 2);
    StartEngine(t.app, false);
    ASSERT_TRUE(Running());
  }
  void ExpectStoppedLook() {
    EXPECT_FALSE(Running());
    EXPECT_FALSE(t.form.Enabled(Ctl::按钮_停止));
    EXPECT_FALSE(t.form.MenuEnabled(menu::停止代理));
    EXPECT_TRUE(t.form.MenuEnabled(menu::启动代理));
    EXPECT_FALSE(t.form.MenuEnabled(menu::账号自检));
    EXPECT_TRUE(t.form.Enabled(Ctl::编辑框_本地端口));
    EXPECT_TRUE(t.form.Enabled(Ctl::选择框_局域网连接));
    EXPECT_TRUE(t.form.Enabled(Ctl::选择框_自定义默认网关));
    EXPECT_EQ(t.form.StatusText(1), "   状态：未运行");
    EXPECT_EQ(t.form.MenuCaption(menu::状态), "状态：未运行");
    EXPECT_FALSE(t.form.MenuChecked(menu::状态));
    const auto balloon = LastBalloon();
    ASSERT_TRUE(balloon);
    EXPECT_EQ(balloon->title, "Brook 停止成功！");
    EXPECT_EQ(balloon->text, t.app.run.runMode + " 代理：127.0.0.1:2080");
    EXPECT_EQ(Tip(), "Corvane\r\n状态：[未运行]\r\n本地代理: " + t.app.run.runMode + " 127.0.0.1:2080");
    EXPECT_TRUE(IconFrom(StoppedIconData()));
  }
  void ExpectIdleRunState() {
    const RunState& run = t.app.run;
    EXPECT_EQ(run.protocol, -1);
    EXPECT_EQ(run.serverAddress + run.serverPort + run.password, "");
    EXPECT_EQ(run.vpnGateway + run.vpnSavedDns + run.vpnConnectionName, "");
  }
};

TEST_F(EngineStopTest, AStopEndsTheEngineClearsTheProxyAndKeepsTheChosenMode) {
  CheckProxyMode(menu::全局模式);
  t.form.SetText(Ctl::编辑框_服务器备注, "东京");
  StartEngine(t.app, false);
  const std::uint32_t engineId = t.processes.processes.back().processId;
  ASSERT_EQ(Setting("ProxyEnable")->number, 1u);

  StopEngine(t.app);
  EXPECT_EQ(engine.processes.terminated, std::vector<std::uint32_t>{engineId});
  EXPECT_EQ(EnginesRunning(), 0u);
  EXPECT_TRUE(t.form.messages.empty());
  ExpectIdleRunState();
  EXPECT_EQ(t.app.run.remark, "东京");
  EXPECT_TRUE(ProxyCleared());
  EXPECT_TRUE(t.form.MenuChecked(menu::全局模式));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "2");
  ExpectStoppedLook();
  // The VPN boxes follow the custom-gateway option, which is off.
  EXPECT_FALSE(t.form.Enabled(Ctl::编辑框_VPN设置_默认网关));
}

TEST_F(EngineStopTest, WithoutAnEngineTheStopSaysSoAndStillResets) {
  StartEngine(t.app, false);
  t.processes.processes.clear();  // the engine died meanwhile
  StopEngine(t.app);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "Brook 进程似乎不存在！");
  EXPECT_EQ(t.form.messages[0].title, "");
  EXPECT_TRUE(engine.processes.terminated.empty());
  ExpectIdleRunState();
  EXPECT_TRUE(ProxyCleared());
  ExpectStoppedLook();
}

TEST_F(EngineStopTest, AnotherProgramsBrookNeitherMakesAStartNorIsEnded) {
  t.processes.processes = {{5, "svchost.exe", 1}, {6, "Brook.exe", 1}};
  engine.processes.engineComesUp = false;
  StartEngine(t.app, false);
  EXPECT_FALSE(Running());
  EXPECT_EQ(LastBalloon()->title, "Brook 启动失败！");

  engine.processes.engineComesUp = true;
  StartEngine(t.app, false);
  const std::uint32_t ours = engine.processes.EngineId();
  t.processes.processes.push_back({ours + 1, "helper.exe", ours});  // what our engine started
  StopEngine(t.app);
  EXPECT_EQ(engine.processes.terminated, std::vector<std::uint32_t>{ours});
  ASSERT_EQ(t.processes.processes.size(), 2u);  // the job took the helper along, not Brook.exe
  EXPECT_EQ(t.processes.processes[1].processId, 6u);
}

TEST_F(EngineStopTest, AfterAVpnRunASavedDnsOtherThanTheGatewayIsSetBackStatically) {
  StartVpn("192.168.1.1", "192.168.1.53", "Local Area Connection");
  const std::uint32_t engineId = t.processes.processes.back().processId;
  engine.commands.output = "确定。\r\n\r\n";
  StopEngine(t.app);
  // The DNS goes back while the engine still runs, then the engine ends.
  EXPECT_EQ(engine.sequence, (CallSequence{"netsh.exe interface ip set dns \"Local Area Connection\" static 192.168.1.53",
                                           "terminate " + std::to_string(engineId)}));
  EXPECT_TRUE(engine.commands.interpreted.empty());  // never through cmd.exe
  EXPECT_TRUE(t.form.messages.empty());
  ExpectIdleRunState();
  EXPECT_EQ(EnginesRunning(), 0u);
  ExpectStoppedLook();
}

TEST_F(EngineStopTest, AFailedStaticRestoreShowsNetshsWordsAndTheStopGoesOn) {
  // A custom gateway with the DNS box left empty: an empty static DNS.
  StartVpn("192.168.1.1", "", "以太网");
  engine.commands.output = "指定的参数无效。\r\n\r\n";
  StopEngine(t.app);
  ASSERT_EQ(engine.commands.captured.size(), 1u);
  EXPECT_EQ(engine.commands.captured[0].arguments, "interface ip set dns \"以太网\" static \"\"");
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "修改DNS为初始值失败（网卡名称：以太网，网卡DNS：，错误信息：指定的参数无效。\r\n）！");
  EXPECT_EQ(t.form.messages[0].title, "");
  EXPECT_EQ(EnginesRunning(), 0u);
  ExpectStoppedLook();
}

TEST_F(EngineStopTest, NetshsExitCodeOrItsWordsDecideAndADeadEngineStillGetsTheDnsBack) {
  // Current Windows says nothing on success: the exit code counts.
  StartVpn("192.168.1.1", "192.168.1.1", "Wi-Fi");
  engine.commands.exitCode = 0;
  StopEngine(t.app);
  ASSERT_EQ(engine.commands.captured.size(), 1u);
  EXPECT_EQ(engine.commands.captured[0].arguments, "interface ipv4 set dns \"Wi-Fi\" dhcp");
  EXPECT_TRUE(t.form.messages.empty());

  // A failed DHCP restore is reported like a failed static one.
  StartVpn("192.168.1.1", "192.168.1.1", "Wi-Fi");
  engine.commands.exitCode = 1;
  engine.commands.output = "The filename is incorrect.\r\n";
  StopEngine(t.app);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "修改DNS为初始值失败（网卡名称：Wi-Fi，网卡DNS：192.168.1.1，错误信息：The filename is incorrect.）！");

  // The engine died meanwhile: the DNS it changed still goes back.
  StartVpn("192.168.1.1", "192.168.1.53", "Wi-Fi");
  engine.commands.output = "确定。\r\n";
  t.processes.processes.clear();
  engine.sequence.clear();
  StopEngine(t.app);
  EXPECT_EQ(engine.sequence, CallSequence{"netsh.exe interface ip set dns \"Wi-Fi\" static 192.168.1.53"});
  EXPECT_EQ(t.form.messages.size(), 2u);  // "Brook 进程似乎不存在！" only
  EXPECT_EQ(t.form.messages.back().text, "Brook 进程似乎不存在！");
  ExpectStoppedLook();

  // The program ends while a VPN start waits for its engine.
  UseCustomGateway("192.168.1.1", "192.168.1.53", "Wi-Fi");
  Node("198.51.100.7", "9999", "secret", 2);
  engine.sequence.clear();
  engine.wait.programEnds = true;
  engine.wait.meanwhile = [&] { OnWindowDestroyed(t.app); };
  StartEngine(t.app, false);
  ASSERT_EQ(engine.sequence.size(), 2u);
  EXPECT_EQ(engine.sequence[0], "netsh.exe interface ip set dns \"Wi-Fi\" static 192.168.1.53");
  EXPECT_EQ(EnginesRunning(), 0u);
}

TEST_F(EngineStopTest, NoTextOfANameOrDnsReachesNetshAsAnythingButOneArgument) {
  const std::string name = "Local Area Connection\" & calc.exe & \"%PATH%";
  const std::string dns = "8.8.8.8 & del C:\\x";
  EXPECT_EQ(SplitCommandLine("netsh.exe " + StaticDnsArguments(name, dns, kGbkCodePage)),
            (std::vector<std::string>{"netsh.exe", "interface", "ip", "set", "dns", name, "static", dns}));
  EXPECT_EQ(SplitCommandLine("netsh.exe " + DhcpDnsArguments(name, kGbkCodePage)),
            (std::vector<std::string>{"netsh.exe", "interface", "ipv4", "set", "dns", name, "dhcp"}));
}

TEST(NetshOutput, OneLineBreakNearTheEndIsDropped) {
  EXPECT_EQ(TrimNetshOutput("指定的参数无效。\r\n\r\n"), "指定的参数无效。\r\n");
  EXPECT_EQ(TrimNetshOutput("one line\r\n"), "one line");
  EXPECT_EQ(TrimNetshOutput("a\r\nb\r\n"), "a\r\nb");
  EXPECT_EQ(TrimNetshOutput("no break"), "no break");
  EXPECT_EQ(TrimNetshOutput(""), "");
}

class ExitCleanupTest : public EngineStopTest {};

TEST_F(ExitCleanupTest, TheExitEndsTheEngineAndRestoresTheDnsWithoutShowingAnything) {
  StartVpn("192.168.1.1", "192.168.1.53", "Ethernet");
  engine.commands.output = "failed\r\n";
  const std::size_t shellCalls = shell.calls.size();

  OnWindowDestroyed(t.app);
  EXPECT_EQ(EnginesRunning(), 0u);
  EXPECT_EQ(engine.commands.captured.size(), 1u);  // the DNS restore ran ...
  EXPECT_TRUE(t.form.messages.empty());            // ... and its failure is not shown
  EXPECT_TRUE(Running());  // nothing on the window changes
  EXPECT_EQ(t.app.run.protocol, 2);
  // No balloon, no tip: the one shell call takes the icon away at once, so
  // a worker cut short at the end leaves none behind.
  ASSERT_EQ(shell.calls.size(), shellCalls + 1);
  EXPECT_EQ(shell.calls.back().message, NotifyMessage::Delete);
}

TEST_F(ExitCleanupTest, TheProxyIsClearedUnlessDirectModeIsChecked) {
  // Not running, PAC checked: still cleared.
  CheckProxyMode(menu::PAC模式);
  PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", 1});
  PutSetting("ProxyServer", {FakeRegistry::Type::String, "127.0.0.1:2080"});
  CleanupOnExit(t.app);
  EXPECT_TRUE(ProxyCleared());
  EXPECT_TRUE(engine.processes.terminated.empty());

  CheckProxyMode(menu::直连模式);
  PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", 1});
  PutSetting("ProxyServer", {FakeRegistry::Type::String, "10.0.0.1:3128"});
  CleanupOnExit(t.app);
  EXPECT_EQ(Setting("ProxyEnable")->number, 1u);
  EXPECT_EQ(Setting("ProxyServer")->bytes, "10.0.0.1:3128");
}

TEST_F(ExitCleanupTest, TheEndOfTheSessionSavesAndCleansUpLikeAnExit) {
  StartEngine(t.app, false);
  t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, "30");
  OnSessionEnding(t.app);
  EXPECT_EQ(EnginesRunning(), 0u);
  EXPECT_TRUE(ProxyCleared());
  EXPECT_EQ(Saved("MoreSettings", "Timeout"), "30");
  EXPECT_EQ(Saved("Node", "Node1"), "198.51.100.7 9999 secret 0");
  EXPECT_FALSE(t.form.destroyed);
}

}  // namespace
