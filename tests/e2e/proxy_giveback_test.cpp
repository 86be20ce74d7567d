// The user's own proxy settings around the program's, from outside: the
// local addresses global mode bypasses, a proxy left by a killed copy in
// another folder, a saved copy that cannot be written or is damaged. On
// real Windows the same runs also look at what WinINet's per-connection
// store and WinHTTP see, and at every value given back; Wine keeps nothing
// of the per-connection store, so there those checks report themselves
// skipped.
#include <map>

#include "context/tray_menu_layout.h"
#include "driver/internet_settings.h"
#include "driver/proxy_views.h"
#include "driver/shell_tray.h"
#include "e2e_test.h"
#include "shared/hex_text.h"

namespace e2e {
namespace {

const char kSettingsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kConnectionsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
const char kRecordKey[] = "Software\\Corvane\\Proxy";
const char kUsersBypass[] = "*.corp.example; intranet";

bool UnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

#define SKIP_UNDER_WINE(what)                                                                      \
  if (UnderWine()) GTEST_SKIP() << "Wine (its ntdll exports wine_get_version) keeps nothing of " \
                                   "WinINet's per-connection settings: " what " is owed on real Windows"

// Every value of a key, by name. A connection record's second number is
// WinINet's own change counter, which every write moves on: it is left out.
std::map<std::string, std::string> ValuesOf(const char* keyName) {
  std::map<std::string, std::string> values;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[512];
    BYTE data[8192];
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string bytes(reinterpret_cast<char*>(data), dataSize);
    if (type == REG_BINARY && bytes.size() >= 8) bytes.replace(4, 4, 4, '\0');
    values[name] = std::to_string(type) + ":" + bytes;
  }
  RegCloseKey(key);
  return values;
}

std::map<std::string, std::string> AllProxyValues() {
  auto values = ValuesOf(kSettingsKey);
  for (auto& [name, bytes] : ValuesOf(kConnectionsKey)) values["Connections\\" + name] = bytes;
  return values;
}

void DeleteValue(const char* keyName, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, name);
  RegCloseKey(key);
}

class ProxyGiveBack : public E2eTest {
 protected:
  ProxyGiveBack() { Clear(); }
  ~ProxyGiveBack() override { Clear(); }
  static void Clear() {
    ClearInternetSettings();
    DeleteValue(kSettingsKey, "ProxyOverride");
    for (const char* name : {"ProxyServer", "AutoConfigURL"}) DeleteValue(kRecordKey, name);
  }

  void WriteConfigIn(const TestFolder& where, const std::string& port, const std::string& proxyMode) const {
    where.Write("config.ini", "[BasisConfig]\r\nFile=" + where.InstallEngine() + "\r\nLocal port=" + port +
                                  "\r\nRun Mode=HTTP\r\nProxy Mode=" + proxyMode +
                                  "\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                  "[Node]\r\nNode1=127.0.0.1 9001 secret 0 stand-in\r\n");
  }
  std::string OwnProxy() const { return "127.0.0.1:" + LocalPort(); }
  static bool ProxyIs(const std::string& server) {
    return InternetSettingNumber("ProxyEnable") == std::optional<DWORD>(1) &&
           InternetSettingText("ProxyServer") == server;
  }
};

TEST_F(ProxyGiveBack, GlobalModeBypassesLocalAddressesAndAStopGivesTheUsersListBack) {
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  SetInternetSettingText("ProxyOverride", kUsersBypass);
  WriteConfigIn(folder, LocalPort(), "2");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return ProxyIs(OwnProxy()); }, kActionTimeout))
      << (tray.Balloons().empty() ? "" : tray.Balloons().back().title + " " + tray.Balloons().back().text);
  const std::string bypass = InternetSettingText("ProxyOverride").value_or("");
  EXPECT_EQ(bypass.rfind(std::string(kUsersBypass) + ";", 0), 0u) << bypass;
  for (const char* local : {"<local>", "localhost", "127.*", "10.*", "172.16.*", "172.24.*", "172.31.*", "192.168.*"})
    EXPECT_NE(bypass.find(std::string(";") + local), std::string::npos) << local << " in " << bypass;

  window->Click(Ctl::按钮_停止);
  EXPECT_TRUE(WaitUntil(InternetSettingsCleared, kActionTimeout));
  EXPECT_EQ(InternetSettingText("ProxyOverride"), std::optional<std::string>(kUsersBypass));
}

TEST_F(ProxyGiveBack, ADeadProxyLeftByAKilledCopyElsewhereIsNotGivenBackAsTheUsers) {
  TestFolder other(CurrentTestName() + ".other");
  const std::string otherPort = std::to_string(FreeLoopbackPort());
  const std::string deadProxy = "127.0.0.1:" + otherPort;
  other.InstallCorvane();
  WriteConfigIn(other, otherPort, "2");
  {
    ProgramRun killed = ProgramRun::StartQuiet(other.PathOf("corvane.exe"));
    ASSERT_TRUE(WaitUntil([&] { return ProxyIs(deadProxy); }, kStartTimeout));
    TerminateProcess(killed.Handle(), 1);
    ASSERT_TRUE(killed.WaitForExit(kActionTimeout));
  }
  ASSERT_TRUE(ProxyIs(deadProxy));

  WriteConfigIn(folder, LocalPort(), "2");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return ProxyIs(OwnProxy()); }, kActionTimeout));
  window->Click(Ctl::按钮_停止);
  ASSERT_TRUE(WaitUntil([&] { return !ProxyIs(OwnProxy()); }, kActionTimeout));
  EXPECT_FALSE(ProxyIs(deadProxy)) << "the dead copy's proxy came back";
  EXPECT_TRUE(InternetSettingsCleared());
}

TEST_F(ProxyGiveBack, WhenTheSavedCopyCannotBeWrittenTheModeIsNotAppliedAndABalloonSaysWhy) {
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  // A folder where the copy should go: it can be neither replaced nor written.
  ASSERT_TRUE(CreateDirectoryA(folder.PathOf("user-proxy.ini").c_str(), nullptr));
  WriteConfigIn(folder, LocalPort(), "2");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  const auto refused = [&] {
    for (const BalloonSeen& seen : tray.Balloons())
      if (seen.title == "系统代理未生效！") return std::optional(seen);
    return std::optional<BalloonSeen>();
  };
  ASSERT_TRUE(WaitUntil([&] { return refused() || ProxyIs(OwnProxy()); }, kStartTimeout));
  EXPECT_FALSE(ProxyIs(OwnProxy())) << "applied without a saved copy";
  const auto balloon = refused();
  ASSERT_TRUE(balloon);
  EXPECT_NE(balloon->text.find("user-proxy.ini"), std::string::npos) << balloon->text;
  EXPECT_TRUE(InternetSettingsCleared());
  EXPECT_TRUE(run.Running());
}

TEST_F(ProxyGiveBack, ADamagedSavedCopyLeavesAWindowThatAnswersAndNoBadValueInTheRegistry) {
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  WriteRunnableConfig();
  folder.Write("user-proxy.ini", "[Saved]\r\nProxyEnable=1\r\nProxyServer=" + HexOf("x") + "\r\nAutoConfigURL=" +
                                     HexOf("javascript:alert(1)") + "\r\n[Entries]\r\nCount=4294967295\r\n");
  // The program's own global proxy, left by a killed run.
  SetInternetSettingNumber("ProxyEnable", 1);
  SetInternetSettingText("ProxyServer", OwnProxy());
  const DWORD start = GetTickCount();
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, 5000);
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->Sync());
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_TRUE(tray.WaitForBalloon("保存的代理设置有误！", kActionTimeout));
  EXPECT_NE(InternetSettingText("ProxyServer"), std::optional<std::string>("x"));
  EXPECT_NE(InternetSettingText("AutoConfigURL"), std::optional<std::string>("javascript:alert(1)"));
  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
}

TEST_F(ProxyGiveBack, OnWindowsTheConnectionAndWinHttpSeeEachMode) {
  SKIP_UNDER_WINE("the per-connection and WinHTTP view");
  folder.Write("pac.txt", "function FindProxyForURL(url, host) {\n  return \"__PROXY__\";\n}\n");
  WriteConfigIn(folder, LocalPort(), "2");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return ProxyIs(OwnProxy()); }, kActionTimeout));
  const ConnectionView lan = PerConnectionView();
  EXPECT_EQ(lan.flags & 0x06, 0x02u);  // a proxy server, no automatic configuration address
  EXPECT_EQ(lan.proxy, OwnProxy());
  EXPECT_NE(lan.bypass.find("192.168.*"), std::string::npos) << lan.bypass;
  EXPECT_EQ(WinHttpView().proxy, OwnProxy());

  window->Command(menu::PAC模式);
  ASSERT_TRUE(WaitUntil([] { return InternetSettingText("AutoConfigURL").has_value(); }, kActionTimeout));
  const std::string address = *InternetSettingText("AutoConfigURL");
  EXPECT_EQ(PerConnectionView().autoConfigUrl, address);
  EXPECT_EQ(WinHttpView().autoConfigUrl, address);
  EXPECT_EQ(WinHttpProxyFor(address, "http://example.com/"), OwnProxy());
  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
}

TEST_F(ProxyGiveBack, OnWindowsEveryValueComesBackExactly) {
  SKIP_UNDER_WINE("the exact give-back of the per-connection records");
  SetInternetSettingText("ProxyOverride", kUsersBypass);
  const auto before = AllProxyValues();
  WriteConfigIn(folder, LocalPort(), "2");
  {
    ProgramRun run = ProgramRun::StartFromShell(exe);
    auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
    ASSERT_TRUE(window);
    for (bool exit : {false, true}) {
      ASSERT_TRUE(WaitUntil([&] { return window->Enabled(Ctl::按钮_启动); }, kActionTimeout));
      window->Click(Ctl::按钮_启动);
      ASSERT_TRUE(WaitUntil([&] { return ProxyIs(OwnProxy()); }, kActionTimeout));
      exit ? window->Command(menu::退出) : window->Click(Ctl::按钮_停止);
      EXPECT_TRUE(WaitUntil([&] { return AllProxyValues() == before; }, kActionTimeout))
          << (exit ? "after 退出" : "after 停止");
    }
  }
  {
    ProgramRun killed = ProgramRun::StartQuiet(exe);
    ASSERT_TRUE(WaitUntil([&] { return ProxyIs(OwnProxy()); }, kStartTimeout));
    TerminateProcess(killed.Handle(), 1);
    ASSERT_TRUE(killed.WaitForExit(kActionTimeout));
  }
  ProgramRun next = ProgramRun::StartFromShell(exe);
  ASSERT_TRUE(CorvaneWindow::WaitFor(next, kStartTimeout));
  EXPECT_TRUE(WaitUntil([&] { return AllProxyValues() == before; }, kActionTimeout)) << "after a killed run";
}

}  // namespace
}  // namespace e2e
