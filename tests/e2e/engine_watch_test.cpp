// The engine's end seen from outside, with the stand-in engine: a killed
// engine started again, one that cannot run given up with the user's proxy
// back, its last words in a balloon and in brook.log, a flood, another
// program's brook.exe, and the logon's restore after a crash.
#include <windows.h>

#include "context/tray_menu_layout.h"
#include "driver/internet_settings.h"
#include "driver/process_figures.h"
#include "driver/shell_tray.h"
#include "e2e_test.h"

namespace e2e {
namespace {

constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kRestoreValue[] = "Corvane proxy restore";

std::optional<std::string> RestoreAtLogon() {
  char value[1024];
  DWORD size = sizeof value;
  if (RegGetValueA(HKEY_CURRENT_USER, kRunOnceKey, kRestoreValue, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

bool Kill(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  const bool ended = TerminateProcess(process, 9) && WaitForSingleObject(process, 5000) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

class EngineWatch : public E2eTest {
 protected:
  EngineWatch() {
    ClearInternetSettings();
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunOnceKey, kRestoreValue);
  }
  ~EngineWatch() override { ClearInternetSettings(); }

  void WriteConfig(const std::string& proxyMode) {
    engine = folder.InstallEngine();
    folder.Write("config.ini", "[BasisConfig]\r\nFile=" + engine + "\r\nLocal port=" + LocalPort() +
                                   "\r\nRun Mode=HTTP\r\nProxy Mode=" + proxyMode +
                                   "\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                   "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  }
  static void SetUsersProxy() {
    SetInternetSettingNumber("ProxyEnable", 1);
    SetInternetSettingText("ProxyServer", "10.1.2.3:8080");
  }
  static bool UsersProxyBack() {
    return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1) &&
           InternetSettingText("ProxyServer") == std::optional<std::string>("10.1.2.3:8080");
  }
  static bool CorvanesProxy() {
    return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1) &&
           InternetSettingText("ProxyServer") == std::optional<std::string>("127.0.0.1:" + LocalPort());
  }
  std::string EngineCommandLine() const { return folder.Read("brook-command-line.txt").value_or(""); }

  ShellTray tray;
  std::string engine;
};

TEST_F(EngineWatch, AKilledEngineIsStartedAgainAndOneThatCannotRunGivesTheUsersProxyBack) {
  ASSERT_TRUE(tray.Ready());
  SetUsersProxy();
  WriteConfig("2");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil(CorvanesProxy, kActionTimeout));
  EXPECT_EQ(RestoreAtLogon(), "\"" + exe + "\" /restore-proxy");
  const DWORD first = ChildProcess(run.Id(), "brook.exe");
  ASSERT_NE(first, 0u);
  ASSERT_TRUE(WaitUntil([&] { return !EngineCommandLine().empty(); }, kActionTimeout));
  const std::string commandLine = EngineCommandLine();
  folder.Write("brook-command-line.txt", "");

  ASSERT_TRUE(Kill(first));
  DWORD second = 0;
  EXPECT_TRUE(WaitUntil([&] { return (second = ChildProcess(run.Id(), "brook.exe")) != 0 && second != first; }, 2000))
      << "no new engine within 2 s";
  EXPECT_TRUE(WaitUntil([&] { return EngineCommandLine() == commandLine; }, kActionTimeout)) << EngineCommandLine();
  EXPECT_TRUE(CorvanesProxy());
  EXPECT_TRUE(tray.WaitForBalloon("Brook 已重新启动", kActionTimeout));

  // The engine's file is gone: the next restarts cannot launch anything.
  ASSERT_TRUE(WaitUntil([&] { return (second = ChildProcess(run.Id(), "brook.exe")) != 0; }, kActionTimeout));
  ASSERT_TRUE(Kill(second));
  ASSERT_TRUE(WaitUntil([&] { return DeleteFileA(engine.c_str()) != 0; }, 900)) << GetLastError();
  EXPECT_TRUE(WaitUntil(UsersProxyBack, 10000)) << "the user's proxy is not back";
  EXPECT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
  EXPECT_FALSE(window->Enabled(Ctl::按钮_停止));
  EXPECT_NE(tray.Tip().find("[未运行]"), std::string::npos) << tray.Tip();
  EXPECT_FALSE(RestoreAtLogon());
  const auto gaveUp = tray.WaitForBalloon("Brook 已停止运行", kActionTimeout);
  ASSERT_TRUE(gaveUp);
  EXPECT_NE(gaveUp->text.find("退出代码 9"), std::string::npos) << gaveUp->text;
  EXPECT_EQ(gaveUp->iconKind, static_cast<DWORD>(NIIF_ERROR));
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
}

TEST_F(EngineWatch, AnEngineThatPrintsAndExitsSaysWhyAndAFloodNeitherStopsItNorGrowsMemory) {
  ASSERT_TRUE(tray.Ready());
  WriteConfig("0");
  const std::string words = "brook: listen tcp 127.0.0.1:" + LocalPort() + ": bind: address already in use";
  folder.Write("brook-says.txt", words + "\n");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  const auto failed = tray.WaitForBalloon("Brook 启动失败！", kActionTimeout);
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->text, "请检查配置。\r\n" + words);
  EXPECT_NE(folder.Read("brook.log").value_or("").find(words), std::string::npos);

  // Ten seconds of printing without pause write many times the log's
  // megabyte through a pipe of a few kilobytes; thirty would show no more.
  DeleteFileA(folder.PathOf("brook-says.txt").c_str());
  folder.Write("brook-floods.txt", "10");
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return window->StatusText(1) == "   状态：正在运行"; }, kActionTimeout));
  const DWORD flooding = ChildProcess(run.Id(), "brook.exe");
  ASSERT_NE(flooding, 0u);
  Sleep(2000);
  const SIZE_T before = CommittedBytes(run.Handle());
  Sleep(9000);
  const SIZE_T after = CommittedBytes(run.Handle());
  EXPECT_LT(after, before + (2 << 20)) << before << " -> " << after;
  EXPECT_EQ(ChildProcess(run.Id(), "brook.exe"), flooding);
  const std::string log = folder.Read("brook.log").value_or("");
  EXPECT_LE(log.size(), 1u << 20);
  EXPECT_NE(log.find("flood line"), std::string::npos);
}

TEST_F(EngineWatch, AnotherProgramsBrookSurvivesStopAndExitAndNeverMakesAStart) {
  ASSERT_TRUE(tray.Ready());
  TestFolder elsewhere(CurrentTestName() + ".foreign");
  const std::string foreignEngine = elsewhere.InstallEngine();
  std::string line = "\"" + foreignEngine + "\" client -l 127.0.0.1:" + std::to_string(FreeLoopbackPort()) +
                     " -s \"127.0.0.1:9001\" -p \"x\" --http";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION foreign{};
  ASSERT_TRUE(CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                             &startup, &foreign));
  CloseHandle(foreign.hThread);
  auto foreignRuns = [&] { return WaitForSingleObject(foreign.hProcess, 0) == WAIT_TIMEOUT; };

  WriteConfig("2");
  folder.Write("brook-says.txt", "no\n");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  EXPECT_TRUE(tray.WaitForBalloon("Brook 启动失败！", kActionTimeout));
  EXPECT_TRUE(window->Enabled(Ctl::按钮_启动));

  DeleteFileA(folder.PathOf("brook-says.txt").c_str());
  for (bool exit : {false, true}) {
    ASSERT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
    window->Click(Ctl::按钮_启动);
    ASSERT_TRUE(WaitUntil(CorvanesProxy, kActionTimeout));
    EXPECT_TRUE(RestoreAtLogon());
    exit ? window->Command(menu::退出) : window->Click(Ctl::按钮_停止);
    EXPECT_TRUE(WaitUntil(InternetSettingsCleared, kActionTimeout));
    EXPECT_FALSE(RestoreAtLogon()) << (exit ? "after 退出" : "after 停止");
    EXPECT_FALSE(ShowsMessageBox(run.Id()));
    EXPECT_TRUE(foreignRuns()) << (exit ? "after 退出" : "after 停止");
  }
  EXPECT_TRUE(run.WaitForExit(kActionTimeout));
  EXPECT_TRUE(foreignRuns());
  TerminateProcess(foreign.hProcess, 0);
  CloseHandle(foreign.hProcess);
}

TEST_F(EngineWatch, AfterACrashTheRunOnceCommandGivesTheUsersProxyBackUnseenAndEnds) {
  SetUsersProxy();
  WriteConfig("2");
  std::optional<std::string> command;
  {
    ProgramRun run = ProgramRun::StartQuiet(exe);
    ASSERT_TRUE(WaitUntil(CorvanesProxy, kStartTimeout));
    command = RestoreAtLogon();
    ASSERT_TRUE(command);
    EXPECT_EQ(command->rfind("\"" + exe + "\" ", 0), 0u) << *command;
    TerminateProcess(run.Handle(), 1);  // a crash
    ASSERT_TRUE(run.WaitForExit(kActionTimeout));
  }
  ASSERT_TRUE(CorvanesProxy());

  // As Windows runs it at the next logon.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION restore{};
  ASSERT_TRUE(CreateProcessA(nullptr, command->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &restore));
  CloseHandle(restore.hThread);
  bool windowSeen = false;
  while (WaitForSingleObject(restore.hProcess, 20) == WAIT_TIMEOUT && !windowSeen) {
    for (HWND w : TopLevelWindowsOf(restore.dwProcessId)) windowSeen |= IsWindowVisible(w) || TextOf(w) == kMainWindowTitle;
  }
  const bool ended = WaitForSingleObject(restore.hProcess, kActionTimeout) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(restore.hProcess, 1);
  CloseHandle(restore.hProcess);
  EXPECT_TRUE(ended);
  EXPECT_FALSE(windowSeen);
  EXPECT_TRUE(UsersProxyBack());
}

}  // namespace
}  // namespace e2e
