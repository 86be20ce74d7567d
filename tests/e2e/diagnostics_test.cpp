// The account self-check and the latency test from outside: the verdicts
// arrive as balloons, which this driver reads by standing in for the shell's
// notification area. The self-check fetches an https test page on this
// machine through the stand-in engine's local HTTP proxy.
#include <algorithm>

#include "context/tray_menu_layout.h"
#include "driver/internet_settings.h"
#include "driver/local_http_server.h"
#include "driver/shell_tray.h"
#include "driver/trusted_roots.h"
#include "e2e_test.h"

namespace e2e {
namespace {

// Whether `text` is `head`, a whole number of one or more digits, then `tail`.
bool IsNumberBetween(const std::string& text, const std::string& head, const std::string& tail) {
  if (text.size() <= head.size() + tail.size() || !text.starts_with(head) || !text.ends_with(tail)) return false;
  const std::string number = text.substr(head.size(), text.size() - head.size() - tail.size());
  return number.find_first_not_of("0123456789") == std::string::npos;
}

class Diagnostics : public E2eTest {
 protected:
  void SetUp() override { ASSERT_TRUE(tray.Ready()) << "Shell_NotifyIcon would not reach the driver"; }

  // One node on this machine, the stand-in engine, direct mode (the system
  // proxy is left alone) and the https test page as the self-check's address.
  void WriteConfig(const std::string& runMode) {
    folder.Write("config.ini", "[BasisConfig]\r\nFile=" + folder.InstallEngine() + "\r\nLocal port=" + LocalPort() +
                                   "\r\nRun Mode=" + runMode + "\r\nProxy Mode=0\r\n"
                                   "[MoreSettings]\r\nTest URL=" + TlsTestPageUrl() + "\r\nTimeout=10\r\n"
                                   "[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                   "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  }

  // Starts the saved node from the window; the engine's id, 0 on failure.
  DWORD StartEngine(const ProgramRun& run, const CorvaneWindow& window) const {
    window.Click(Ctl::按钮_启动);
    if (!WaitUntil([&] { return window.StatusText(1) == "   状态：正在运行"; }, kActionTimeout)) return 0;
    return ChildProcess(run.Id(), "brook.exe");
  }

  ShellTray tray;
};

TEST_F(Diagnostics, SelfCheckThroughTheRunningEngineFindsTheAccountUsable) {
  ASSERT_FALSE(TlsTestPageUrl().empty()) << "no https test page: run with --tls-origin";
  ASSERT_TRUE(TrustTestAuthority());
  WriteConfig("HTTP");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_NE(StartEngine(run, *window), 0u);

  window->Command(menu::账号自检);
  auto balloon = tray.WaitForBalloon("当前账号可用！", 30000);
  ASSERT_TRUE(balloon) << (tray.Balloons().empty() ? "no balloon" : tray.Balloons().back().title);
  EXPECT_EQ(balloon->iconKind, static_cast<DWORD>(NIIF_NONE));
  EXPECT_TRUE(IsNumberBetween(balloon->text,
                              "经过测试，该账号可正常使用。\r\n测试网址：" + TlsTestPageUrl() + "\r\n测试时间：",
                              "ms。\r\n如浏览器无法使用，请检查系统代理设置！"))
      << balloon->text;
}

TEST_F(Diagnostics, SelfCheckWithTheEngineGoneFindsTheAccountUnusable) {
  WriteConfig("HTTP");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const DWORD engine = StartEngine(run, *window);
  ASSERT_NE(engine, 0u);
  // Nothing watches the engine after its start: the program still counts it
  // as running, and the check meets a closed port.
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, engine);
  ASSERT_TRUE(process);
  TerminateProcess(process, 1);
  WaitForSingleObject(process, kActionTimeout);
  CloseHandle(process);

  window->Command(menu::账号自检);
  auto balloon = tray.WaitForBalloon("当前账号不可用！", 30000);
  ASSERT_TRUE(balloon) << (tray.Balloons().empty() ? "no balloon" : tray.Balloons().back().title);
  EXPECT_EQ(balloon->iconKind, static_cast<DWORD>(NIIF_ERROR));
  EXPECT_EQ(balloon->text.rfind("经过测试，该账号无法使用。\r\n测试网址：" + TlsTestPageUrl() + "\r\n测试时间：", 0), 0u)
      << balloon->text;
  EXPECT_FALSE(tray.WaitForBalloon("当前账号可用！", 0));
}

TEST_F(Diagnostics, SelfCheckInSocks5RunModeSaysItChecksHttpOnly) {
  WriteConfig("SOCKS5");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_NE(StartEngine(run, *window), 0u);

  window->Command(menu::账号自检);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "该功能只能检查 HTTP协议 代理服务器！请切换为 HTTP 方式启动。");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));
  // The check ends with the box: no request goes out, so no verdict follows.
  EXPECT_FALSE(tray.WaitForBalloon("当前账号不可用！", 2000));
  EXPECT_FALSE(tray.WaitForBalloon("当前账号可用！", 0));
}

TEST_F(Diagnostics, LatencyTestOfThisMachineReportsItsTime) {
  WriteConfig("HTTP");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_EQ(window->Text(Ctl::编辑框_服务器IP), "127.0.0.1");

  window->Click(Ctl::按钮_检测延迟);
  // Two unanswered pings of 2 s each would end in the time-out balloon.
  ASSERT_TRUE(WaitUntil([&] { return !tray.Balloons().empty(); }, 30000)) << "no balloon";
  const BalloonSeen balloon = tray.Balloons().back();
  ASSERT_EQ(balloon.title, "测试延迟成功！") << balloon.text;
  EXPECT_EQ(balloon.iconKind, static_cast<DWORD>(NIIF_NONE));
  EXPECT_TRUE(IsNumberBetween(balloon.text, "[127.0.0.1] 延迟为：", "ms")) << balloon.text;
  EXPECT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_检测延迟); }, kActionTimeout));
}

TEST_F(Diagnostics, LatencyTestWithoutAnAddressAsksForOne) {
  WriteConfig("HTTP");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器IP, ""));
  window->Click(Ctl::按钮_检测延迟);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "服务器IP 不能为空！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_检测延迟); }, kActionTimeout));
  EXPECT_FALSE(tray.WaitForBalloon("测试延迟超时！", 0));
  EXPECT_FALSE(tray.WaitForBalloon("测试延迟成功！", 0));
}

TEST_F(Diagnostics, EndlessAnswersLeaveTheProgramAliveAndItsExitClearsTheProxy) {
  ASSERT_FALSE(TlsTestPageUrl().empty()) << "no https test page: run with --tls-origin";
  ASSERT_TRUE(TrustTestAuthority());
  // The PAC source host is a server here whose template never ends.
  LocalHttpServer server;
  server.SetBody("/probe", "online");
  server.SetBody("/new_softs.txt", server.Base());
  server.SetEndless("/Other/pac.txt");
  SetEnvironmentVariableA("CORVANE_VERSION_SERVER", server.Base().c_str());
  SetEnvironmentVariableA("CORVANE_PROBE_URL", (server.Base() + "/probe").c_str());
  folder.Write("config.ini", "[BasisConfig]\r\nFile=" + folder.InstallEngine() + "\r\nLocal port=" + LocalPort() +
                                 "\r\nProxy Mode=2\r\n[MoreSettings]\r\nTest URL=" + TlsTestPageUrl() +
                                 "endless\r\nTimeout=10\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                 "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  SetEnvironmentVariableA("CORVANE_VERSION_SERVER", nullptr);
  SetEnvironmentVariableA("CORVANE_PROBE_URL", nullptr);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_NE(StartEngine(run, *window), 0u);
  ASSERT_TRUE(WaitUntil([] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); }, kActionTimeout));

  // The self-check's answer never ends: its first bytes prove the account.
  window->Command(menu::账号自检);
  EXPECT_TRUE(tray.WaitForBalloon("当前账号可用！", 60000));
  // A template that never ends is no template. A download asked for before
  // the fetched host was stored goes to the built-in host: ask again.
  const auto templateAsked = [&] {
    const auto paths = server.RequestedPaths();
    return std::find(paths.begin(), paths.end(), "/Other/pac.txt") != paths.end();
  };
  for (int attempt = 0; attempt < 5 && !templateAsked(); ++attempt) {
    const std::size_t seen = tray.Balloons().size();
    window->Command(menu::更新PAC文件);
    WaitUntil([&] { return tray.Balloons().size() > seen; }, 60000);
  }
  ASSERT_TRUE(templateAsked());
  EXPECT_EQ(tray.Balloons().back().title, "PAC 更新失败！");
  EXPECT_FALSE(folder.Exists("pac.txt"));

  ASSERT_TRUE(run.Running());
  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  EXPECT_TRUE(InternetSettingsCleared());
}

}  // namespace
}  // namespace e2e
