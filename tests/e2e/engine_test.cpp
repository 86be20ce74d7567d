// Engine control from outside, with the stand-in engine: the command line it
// receives, traffic through its local proxy in both Run modes, the system
// proxy that the modes write and a stop or an exit clears, a start that
// never finds its engine, and what a killed Corvane leaves behind.
#include "context/tray_menu_layout.h"
#include "driver/internet_settings.h"
#include "driver/loopback_traffic.h"
#include "e2e_test.h"
#include "platform/win32/command_runner_win32.h"

namespace e2e {
namespace {

class Engine : public E2eTest {
 protected:
  // The tests share the Wine user's Internet settings: each starts and
  // leaves them cleared.
  Engine() { ClearInternetSettings(); }
  ~Engine() override { ClearInternetSettings(); }

  // One node with the stand-in engine beside the program, and a PAC
  // template beside the engine.
  void WriteConfig(const std::string& runMode, const std::string& proxyMode, const std::string& password = "secret") {
    engine = folder.InstallEngine();
    folder.Write("pac.txt", "function FindProxyForURL(url, host) { return \"__PROXY__\"; }\n");
    WriteConfigFor(engine, runMode, proxyMode, password);
  }
  void WriteConfigFor(const std::string& enginePath, const std::string& runMode, const std::string& proxyMode,
                      const std::string& password = "secret") {
    folder.Write("config.ini", "[BasisConfig]\r\nFile=" + enginePath + "\r\nLocal port=" + LocalPort() +
                                   "\r\nRun Mode=" + runMode + "\r\nProxy Mode=" + proxyMode +
                                   "\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                   "[Node]\r\nNode1=127.0.0.1 9001 " + password + " 0 stand-in\r\n");
  }
  int Port() const { return std::stoi(LocalPort()); }
  std::string EngineCommandLine() const { return folder.Read("brook-command-line.txt").value_or(""); }
  bool EngineAnswers(const OriginServer& origin, const std::string& path) const {
    return FetchThroughHttpProxy(Port(), origin.Port(), path) == OriginServer::BodyFor(path);
  }
  static bool ProcessGone(DWORD id) { return ProcessExeName(id).empty(); }

  std::string engine;
};

TEST_F(Engine, AQuietStartGivesTheEngineExactlyTheNodeAsSaved) {
  WriteConfig("HTTP", "0", "se\"c\\ret");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  const std::string expected = "\"" + engine + "\" client -l 127.0.0.1:" + LocalPort() +
                               " -i 127.0.0.1 -s \"127.0.0.1:9001\" -p \"se\\\"c\\ret\" --http";
  EXPECT_TRUE(WaitUntil([&] { return EngineCommandLine() == expected; }, kStartTimeout)) << EngineCommandLine();
  EXPECT_NE(ChildProcess(run.Id(), "brook.exe"), 0u);
}

TEST_F(Engine, InHttpRunModeRequestsReachTheOriginThroughTheLocalProxy) {
  WriteConfig("HTTP", "0");
  OriginServer origin;
  ASSERT_NE(origin.Port(), 0);
  ProgramRun run = ProgramRun::StartQuiet(exe);
  EXPECT_TRUE(WaitUntil([&] { return EngineAnswers(origin, "/http-mode"); }, kStartTimeout));
  EXPECT_NE(EngineCommandLine().find(" --http"), std::string::npos) << EngineCommandLine();
}

TEST_F(Engine, InSocks5RunModeRequestsReachTheOriginThroughTheLocalProxy) {
  WriteConfig("SOCKS5", "0");
  OriginServer origin;
  ASSERT_NE(origin.Port(), 0);
  ProgramRun run = ProgramRun::StartQuiet(exe);
  EXPECT_TRUE(WaitUntil(
      [&] { return FetchThroughSocks5(Port(), origin.Port(), "/socks") == OriginServer::BodyFor("/socks"); },
      kStartTimeout));
  EXPECT_EQ(EngineCommandLine().find("--http"), std::string::npos) << EngineCommandLine();
  EXPECT_EQ(FetchThroughHttpProxy(Port(), origin.Port(), "/x"), "");  // it speaks SOCKS5 only
}

TEST_F(Engine, PacAndGlobalModesWriteTheSettingsAndStopClearsThemAndEndsTheEngine) {
  WriteConfig("HTTP", "1");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);

  // A ping is answered inside the start's own wait, so every step waits for
  // its outcome instead.
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return InternetSettingText("AutoConfigURL").has_value(); }, kActionTimeout))
      << "no PAC address after the start";
  const DWORD engineId = ChildProcess(run.Id(), "brook.exe");
  EXPECT_NE(engineId, 0u);
  EXPECT_FALSE(window->Enabled(Ctl::按钮_启动));
  const std::string pac = InternetSettingText("AutoConfigURL").value_or("");
  EXPECT_EQ(pac.rfind("http://127.0.0.1:", 0), 0u) << pac;
  EXPECT_NE(pac.find("/pac?t="), std::string::npos) << pac;
  EXPECT_EQ(InternetSettingNumber("ProxyEnable"), std::optional<DWORD>(0));
  EXPECT_EQ(window->StatusText(1), "   状态：正在运行");

  window->Command(menu::全局模式);
  ASSERT_TRUE(WaitUntil([] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); }, kActionTimeout));
  EXPECT_EQ(InternetSettingText("ProxyServer"), std::optional<std::string>("127.0.0.1:" + LocalPort()));
  EXPECT_FALSE(InternetSettingText("AutoConfigURL"));

  window->Click(Ctl::按钮_停止);
  EXPECT_TRUE(WaitUntil(InternetSettingsCleared, kActionTimeout));
  EXPECT_TRUE(WaitUntil([&] { return ProcessGone(engineId); }, kActionTimeout));
  EXPECT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_EQ(window->StatusText(1), "   状态：未运行");
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "Proxy Mode"), "2");  // the choice stays for the next start
}

TEST_F(Engine, ASocks5ListenerNeverGetsTheGlobalProxyAfterTheSwitchToHttp) {
  WriteConfig("SOCKS5", "0");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return !window->Enabled(Ctl::按钮_启动); }, kActionTimeout)) << "the engine did not start";

  window->Command(menu::HTTP方式启动);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "BasisConfig", "Run Mode") == "HTTP"; }, kActionTimeout));
  window->Command(menu::全局模式);  // as a command for the item, whatever the menu shows
  ASSERT_TRUE(window->Sync());
  EXPECT_NE(InternetSettingNumber("ProxyEnable"), std::optional<DWORD>(1));
  EXPECT_FALSE(InternetSettingText("ProxyServer"));
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "Proxy Mode"), "0");
}

TEST_F(Engine, ExitWithPacModeCheckedClearsTheSystemProxyAndEndsTheEngine) {
  WriteConfig("HTTP", "1");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return InternetSettingText("AutoConfigURL").has_value(); }, kActionTimeout));
  const DWORD engineId = ChildProcess(run.Id(), "brook.exe");
  ASSERT_NE(engineId, 0u);

  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  EXPECT_TRUE(InternetSettingsCleared());
  EXPECT_TRUE(WaitUntil([&] { return ProcessGone(engineId); }, kActionTimeout));
}

// Asked to close at the end of a session, the program may be ended as soon
// as it answers: by then the engine is gone and the proxy given back, with
// no box, even when config.ini cannot be saved; then it ends by itself.
TEST_F(Engine, ACloseAskedByWindowsCleansUpBeforeItsAnswerWithoutABox) {
  WriteConfig("HTTP", "2");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); }, kStartTimeout));
  HANDLE engineProcess = OpenProcess(SYNCHRONIZE, FALSE, ChildProcess(run.Id(), "brook.exe"));
  ASSERT_NE(engineProcess, nullptr);
  // A backup tool holds config.ini without sharing: the save fails.
  HANDLE holder = CreateFileA(folder.PathOf("config.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(window->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                                  kActionTimeout, &answer))
      << "no answer: the program waits on something";
  EXPECT_TRUE(InternetSettingsCleared());
  EXPECT_EQ(WaitForSingleObject(engineProcess, 1000), WAIT_OBJECT_0) << "the engine outlived the answer";
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  CloseHandle(engineProcess);
  CloseHandle(holder);
}

TEST_F(Engine, AVpnNodeGetsTheCustomGatewayAndItsStopRunsNetshForTheDns) {
  engine = folder.InstallEngine();
  folder.Write("config.ini", "[BasisConfig]\r\nFile=" + engine + "\r\nLocal port=" + LocalPort() +
                                 "\r\nProxy Mode=1\r\nCustom default gateway=true\r\nDefault gateway=192.0.2.1"
                                 "\r\nDNS1=192.0.2.53\r\nNetwork name=Local Area Connection\r\n"
                                 "[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                 "[Node]\r\nNode1=127.0.0.1 9001 secret 2 vpn\r\n");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  const std::string expected = "\"" + engine + "\" vpn -l 127.0.0.1:" + LocalPort() +
                               " -s \"127.0.0.1:9001\" -p \"secret\" --defaultGateway 192.0.2.1";
  EXPECT_TRUE(WaitUntil([&] { return EngineCommandLine() == expected; }, kActionTimeout)) << EngineCommandLine();
  // A VPN start always applies direct, which becomes the saved mode.
  EXPECT_TRUE(WaitUntil([&] { return IniValue(Config(), "BasisConfig", "Proxy Mode") == "0"; }, kActionTimeout));
  EXPECT_TRUE(InternetSettingsCleared());

  // Wine's netsh says nothing and exits with 0, as current Windows does on
  // success: the restore counts as done, so no failure box appears.
  window->Click(Ctl::按钮_停止);
  EXPECT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_EQ(ChildProcess(run.Id(), "brook.exe"), 0u);
}

TEST_F(Engine, AnEngineNotNamedBrookExeIsLaunchedButNeverCountsAsStarted) {
  // The stand-in under another name: it runs, but the start looks for brook.exe.
  const std::string other = folder.PathOf("engine.exe");
  ASSERT_TRUE(CopyFileA(StandInEnginePath().c_str(), other.c_str(), FALSE));
  WriteConfigFor(other, "HTTP", "2");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return folder.Exists("brook-command-line.txt"); }, kActionTimeout)) << "no launch";
  Sleep(2000);  // well past the half second the start waits
  ASSERT_TRUE(window->Sync());
  // The failure shows only as the "Brook 启动失败！" balloon: no box, no change.
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_TRUE(window->Enabled(Ctl::按钮_启动));
  EXPECT_FALSE(window->Enabled(Ctl::按钮_停止));
  EXPECT_EQ(window->StatusText(1), "   状态：未运行");
  EXPECT_TRUE(InternetSettingsCleared());
}

TEST_F(Engine, AKilledCorvaneTakesItsEngineAlongAndItsProxyIsClearedAtTheNextStart) {
  WriteConfig("HTTP", "2");
  {
    ProgramRun run = ProgramRun::StartQuiet(exe);
    ASSERT_TRUE(WaitUntil([&] { return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1); },
                          kStartTimeout));
    const DWORD engineId = ChildProcess(run.Id(), "brook.exe");
    ASSERT_NE(engineId, 0u);
    TerminateProcess(run.Handle(), 1);  // Corvane alone, as a crash would end it
    ASSERT_TRUE(run.WaitForExit(kActionTimeout));
    EXPECT_TRUE(WaitUntil([&] { return ProcessGone(engineId); }, kActionTimeout)) << "an orphan engine runs on";
  }
  ASSERT_EQ(InternetSettingText("ProxyServer"), std::optional<std::string>("127.0.0.1:" + LocalPort()));

  ProgramRun next = ProgramRun::StartFromShell(exe);
  ASSERT_TRUE(CorvaneWindow::WaitFor(next, kStartTimeout));
  EXPECT_TRUE(InternetSettingsCleared());
  EXPECT_EQ(ChildProcess(next.Id(), "brook.exe"), 0u);
}

TEST_F(Engine, TheStartupClearsOnlyWhatIsCorvanes) {
  WriteConfig("HTTP", "0");
  SetInternetSettingNumber("ProxyEnable", 1);
  SetInternetSettingText("ProxyServer", "10.0.0.1:3128");
  {
    ProgramRun run = ProgramRun::StartFromShell(exe);
    ASSERT_TRUE(CorvaneWindow::WaitFor(run, kStartTimeout));
    EXPECT_EQ(InternetSettingNumber("ProxyEnable"), std::optional<DWORD>(1));
    EXPECT_EQ(InternetSettingText("ProxyServer"), std::optional<std::string>("10.0.0.1:3128"));
  }
  // Corvane's proxy server beside someone else's automatic configuration.
  SetInternetSettingText("ProxyServer", "127.0.0.1:" + LocalPort());
  SetInternetSettingText("AutoConfigURL", "http://wpad.example/proxy.pac");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  ASSERT_TRUE(CorvaneWindow::WaitFor(run, kStartTimeout));
  EXPECT_EQ(InternetSettingNumber("ProxyEnable"), std::optional<DWORD>(0));
  EXPECT_FALSE(InternetSettingText("ProxyServer"));
  EXPECT_EQ(InternetSettingText("AutoConfigURL"), std::optional<std::string>("http://wpad.example/proxy.pac"));
}

TEST_F(Engine, AProxyLeftBehindIsClearedAtStartWhileAForeignBrookRuns) {
  WriteConfig("HTTP", "0");
  // Someone else's brook.exe, from a folder of its own.
  const TestFolder other(CurrentTestName() + ".other");
  std::string line = "\"";
  line += other.InstallEngine();
  line += "\" vpn -l 127.0.0.1:";
  line += std::to_string(FreeLoopbackPort());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION foreign{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                             other.Path().c_str(), &startup, &foreign));
  SetInternetSettingNumber("ProxyEnable", 1);
  SetInternetSettingText("ProxyServer", "127.0.0.1:" + LocalPort());

  ProgramRun run = ProgramRun::StartFromShell(exe);
  EXPECT_TRUE(CorvaneWindow::WaitFor(run, kStartTimeout));
  EXPECT_EQ(WaitForSingleObject(foreign.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the other brook.exe ended";
  EXPECT_TRUE(InternetSettingsCleared());
  TerminateProcess(foreign.hProcess, 0);
  CloseHandle(foreign.hThread);
  CloseHandle(foreign.hProcess);
}

TEST_F(Engine, AStopAnExitAndAKilledRunGiveTheUsersOwnProxyBack) {
  const std::string usersPac = "http://wpad.corp.example/proxy.pac";
  SetInternetSettingNumber("ProxyEnable", 1);
  SetInternetSettingText("ProxyServer", "10.1.2.3:8080");
  SetInternetSettingText("AutoConfigURL", usersPac);
  WriteConfig("HTTP", "1");
  auto usersBack = [&] {
    return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1) &&
           InternetSettingText("ProxyServer") == std::optional<std::string>("10.1.2.3:8080") &&
           InternetSettingText("AutoConfigURL") == usersPac;
  };
  auto corvanesPac = [] { return InternetSettingText("AutoConfigURL").value_or("").starts_with("http://127.0.0.1:"); };
  {
    ProgramRun run = ProgramRun::StartFromShell(exe);
    auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
    ASSERT_TRUE(window);
    for (bool exit : {false, true}) {
      ASSERT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
      window->Click(Ctl::按钮_启动);
      ASSERT_TRUE(WaitUntil(corvanesPac, kActionTimeout)) << "PAC mode did not start";
      EXPECT_EQ(InternetSettingNumber("ProxyEnable"), std::optional<DWORD>(0));
      exit ? window->Command(menu::退出) : window->Click(Ctl::按钮_停止);
      EXPECT_TRUE(WaitUntil(usersBack, kActionTimeout)) << (exit ? "after 退出" : "after 停止");
    }
  }
  {
    ProgramRun run = ProgramRun::StartQuiet(exe);
    ASSERT_TRUE(WaitUntil(corvanesPac, kStartTimeout));
    TerminateProcess(run.Handle(), 1);
    ASSERT_TRUE(run.WaitForExit(kActionTimeout));
  }
  ASSERT_TRUE(corvanesPac());
  ProgramRun next = ProgramRun::StartFromShell(exe);
  ASSERT_TRUE(CorvaneWindow::WaitFor(next, kStartTimeout));
  EXPECT_TRUE(usersBack()) << "after a killed run";
}

TEST_F(Engine, ACapturedCommandDeliversOutputPastAPipeBufferUpToAZeroByteAndEnds) {
  // The command runner itself, as netsh's restore uses it, on a command
  // printing more than a pipe holds (4 KB under Wine, 64 KB on Windows).
  const std::string before(100000, 'a');
  folder.Write("big.txt", before + std::string(1, '\0') + "after");
  Win32CommandRunner runner;
  const std::string output = runner.RunCommandCaptured("type \"" + folder.PathOf("big.txt") + "\"");
  ASSERT_GE(output.size(), before.size());
  EXPECT_EQ(output.substr(0, before.size()), before);
  EXPECT_EQ(output.find('\0'), std::string::npos);
  EXPECT_LE(output.size(), before.size() + 5);  // the rest of a piece after its zero byte is dropped
}

}  // namespace
}  // namespace e2e
