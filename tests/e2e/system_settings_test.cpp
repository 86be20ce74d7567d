// The update check, the PAC file and the locally served PAC address, the
// three proxy modes in Wine's registry, start at logon, and the help items.
// A server inside this driver stands in for the maker's version server and
// PAC host; the copies of the program find it through the environment.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "context/tray_menu_layout.h"
#include "driver/local_http_server.h"
#include "driver/shell_tray.h"
#include "e2e_test.h"

#include <winhttp.h>  // after <windows.h>
#include "update/maker_addresses.h"

namespace e2e {
namespace {

const char kInternetSettings[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kNewerVersionFile[] = "[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n";
const char kPacTemplate[] = "function FindProxyForURL(url, host) {\n  return \"__PROXY__\";\n}\n// __DIRECT__\n";

std::optional<std::string> RegistryString(HKEY root, const char* key, const char* name) {
  char data[2048];
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegGetValueA(root, key, name, RRF_RT_REG_SZ, &type, data, &size) != ERROR_SUCCESS) return std::nullopt;
  return std::string(data);
}

std::optional<DWORD> RegistryNumber(HKEY root, const char* key, const char* name) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegGetValueA(root, key, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) return std::nullopt;
  return data;
}

void DeleteRegistryValue(HKEY root, const char* key, const char* name) {
  HKEY opened;
  if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  RegDeleteValueA(opened, name);
  RegCloseKey(opened);
}

class MakerServers : public E2eTest {
 protected:
  MakerServers() {
    server.SetBody("/probe", "online");
    SetEnvironmentVariableA("CORVANE_VERSION_SERVER", server.Base().c_str());
    SetEnvironmentVariableA("CORVANE_PROBE_URL", (server.Base() + "/probe").c_str());
  }
  ~MakerServers() override {
    SetEnvironmentVariableA("CORVANE_VERSION_SERVER", nullptr);
    SetEnvironmentVariableA("CORVANE_PROBE_URL", nullptr);
  }
  bool Requested(const std::string& path) const {
    const auto paths = server.RequestedPaths();
    return std::find(paths.begin(), paths.end(), path) != paths.end();
  }
  int Requests(const std::string& path) const {
    const auto paths = server.RequestedPaths();
    return static_cast<int>(std::count(paths.begin(), paths.end(), path));
  }

  LocalHttpServer server;
};

class Updates : public MakerServers {};

TEST_F(Updates, ANewerReleaseShowsInTheTitleAndNoVersionFileRemains) {
  server.SetBody("/Ver.ini", kNewerVersionFile);
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const std::string found = "Corvane    v1.0.10    发现新版本：v1.0.11";
  EXPECT_TRUE(WaitUntil([&] { return window->Title() == found; }, kActionTimeout)) << window->Title();
  EXPECT_TRUE(Requested("/new_softs.txt"));
  EXPECT_FALSE(folder.Exists("Ver.ini"));

  // "检查更新" runs the same check again.
  window->Command(menu::检查更新);
  EXPECT_TRUE(WaitUntil([&] { return Requests("/Ver.ini") == 2; }, kActionTimeout));
  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(window->Title(), found);
  EXPECT_TRUE(WaitUntil([&] { return !folder.Exists("Ver.ini"); }, kActionTimeout));
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
}

class ProxyModes : public MakerServers {
 protected:
  ~ProxyModes() override {
    for (const char* name : {"AutoConfigURL", "ProxyServer"}) DeleteRegistryValue(HKEY_CURRENT_USER, kInternetSettings, name);
  }
  std::optional<std::string> Setting(const char* name) const {
    return RegistryString(HKEY_CURRENT_USER, kInternetSettings, name);
  }
  std::optional<DWORD> ProxyEnable() const { return RegistryNumber(HKEY_CURRENT_USER, kInternetSettings, "ProxyEnable"); }

  static int PortOf(const std::string& url) { return std::stoi(url.substr(std::string("http://127.0.0.1:").size())); }
  static std::string TargetOf(const std::string& url) { return url.substr(url.find('/', 7)); }
};

TEST_F(ProxyModes, UpdatingThePacFileStoresTheServedTemplateBesideTheEngine) {
  // The PAC source host names this server, scheme included.
  server.SetBody("/new_softs.txt", server.Base());
  server.SetBody("/Other/pac.txt", kPacTemplate);
  WriteRunnableConfig();
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return Requested("/new_softs.txt"); }, kActionTimeout));

  // The host is stored by its worker just after the request; a download
  // asked for before that fails, and is asked for again.
  for (int attempt = 0; attempt < 5 && !folder.Exists("pac.txt"); ++attempt) {
    window->Command(menu::更新PAC文件);
    WaitUntil([&] { return folder.Exists("pac.txt"); }, 3000);
  }
  EXPECT_TRUE(Requested("/Other/pac.txt"));
  EXPECT_EQ(folder.Read("pac.txt"), std::optional<std::string>(kPacTemplate));
  EXPECT_FALSE(folder.Exists("pac"));
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
}

// "更新PAC文件" until the download reaches this server (one asked for before
// the fetched host was stored goes to the built-in host), then the balloon
// that reports it.
std::optional<BalloonSeen> UpdatePacFromServer(const CorvaneWindow& window, const ShellTray& tray,
                                               const std::function<int()>& requests) {
  const int before = requests();
  for (int attempt = 0; attempt < 5 && requests() == before; ++attempt) {
    const std::size_t seen = tray.Balloons().size();
    window.Command(menu::更新PAC文件);
    if (!WaitUntil([&] { return tray.Balloons().size() > seen; }, 30000)) return std::nullopt;
  }
  if (requests() == before) return std::nullopt;
  return tray.Balloons().back();
}

TEST_F(ProxyModes, AnErrorAnswerNeverReplacesThePacTemplateAndA200Does) {
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  server.SetBody("/new_softs.txt", server.Base());
  WriteRunnableConfig();
  folder.Write("pac.txt", "kept");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const auto requests = [&] { return Requests("/Other/pac.txt"); };

  for (const char* status : {"404 Not Found", "500 Internal Server Error"}) {
    server.SetAnswer("/Other/pac.txt", status, "<html>captive portal</html>");
    const auto balloon = UpdatePacFromServer(*window, tray, requests);
    ASSERT_TRUE(balloon) << status;
    EXPECT_EQ(balloon->title, "PAC 更新失败！") << status;
    EXPECT_EQ(balloon->iconKind, static_cast<DWORD>(NIIF_ERROR));
    EXPECT_EQ(folder.Read("pac.txt"), std::optional<std::string>("kept")) << status;
  }
  // A 200 whose connection ends at 1,000 of the 4,000 bytes it announced.
  const std::string whole = std::string(kPacTemplate) + "// " + std::string(4000 - sizeof kPacTemplate - 3, 'x') + "\n";
  server.SetCutShort("/Other/pac.txt", whole, 1000);
  auto cutShort = UpdatePacFromServer(*window, tray, requests);
  ASSERT_TRUE(cutShort);
  EXPECT_EQ(cutShort->title, "PAC 更新失败！");
  EXPECT_EQ(folder.Read("pac.txt"), std::optional<std::string>("kept"));

  server.SetBody("/Other/pac.txt", kPacTemplate);
  const auto balloon = UpdatePacFromServer(*window, tray, requests);
  ASSERT_TRUE(balloon);
  EXPECT_EQ(balloon->title, "PAC 更新成功！");
  EXPECT_EQ(folder.Read("pac.txt"), std::optional<std::string>(kPacTemplate));
}

TEST_F(ProxyModes, PacAndGlobalModesWriteTheSettingsAndDirectClearsThem) {
  WriteRunnableConfig();
  folder.Write("pac.txt", kPacTemplate);
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return !window->Enabled(Ctl::按钮_启动); }, kActionTimeout)) << "the engine did not start";

  // The start's own work may still be under way (its balloon waits on the
  // shell), so each check waits for the settings to arrive.
  window->Command(menu::PAC模式);
  ASSERT_TRUE(WaitUntil([&] { return Setting("AutoConfigURL").has_value(); }, kActionTimeout));
  const auto address = Setting("AutoConfigURL");
  EXPECT_EQ(address->rfind("http://127.0.0.1:", 0), 0u) << *address;
  const std::string target = TargetOf(*address);  // /<token>/pac?t=<n>, the token 32 hex digits
  EXPECT_EQ(target.find("/pac?t="), 33u) << *address;
  EXPECT_EQ(target.substr(1, 32).find_first_not_of("0123456789abcdef"), std::string::npos) << *address;
  EXPECT_EQ(ProxyEnable(), std::optional<DWORD>(0));
  EXPECT_FALSE(Setting("ProxyServer"));
  const std::string script = "function FindProxyForURL(url, host) {\n  return \"PROXY 127.0.0.1:" + LocalPort() +
                             ";DIRECT;\";\n}\n// DIRECT\n";
  EXPECT_EQ(folder.Read("pac"), std::optional<std::string>(script));

  const HttpAnswer answer = HttpGet(*address);
  EXPECT_EQ(answer.statusLine, "HTTP/1.1 200 OK");
  EXPECT_NE(answer.headers.find("Content-Type: application/x-ns-proxy-autoconfig"), std::string::npos);
  EXPECT_EQ(answer.body, script);
  EXPECT_NE(answer.headers.find("X-Content-Type-Options: nosniff"), std::string::npos) << answer.headers;
  EXPECT_EQ(HttpGet(*address, "POST").statusLine, "HTTP/1.1 405 Method Not Allowed");
  // No script for a page that rebinds a name of its own to 127.0.0.1, nor
  // for one that guesses the path.
  const int port = PortOf(*address);
  const HttpAnswer rebound = HttpExchange(port, "GET " + target + " HTTP/1.1\r\nHost: evil.example\r\n\r\n");
  const HttpAnswer guessed = HttpGet("http://127.0.0.1:" + std::to_string(port) + "/pac?t=1");
  EXPECT_EQ(rebound.statusLine, "HTTP/1.1 403 Forbidden");
  EXPECT_EQ(guessed.statusLine, "HTTP/1.1 404 Not Found");
  for (const HttpAnswer& refused : {rebound, guessed}) EXPECT_EQ(refused.body.find("FindProxy"), std::string::npos);

  // Every apply gives a new address.
  window->Command(menu::PAC模式);
  EXPECT_TRUE(WaitUntil([&] { return Setting("AutoConfigURL") != address; }, kActionTimeout));

  window->Command(menu::全局模式);
  ASSERT_TRUE(WaitUntil([&] { return ProxyEnable() == std::optional<DWORD>(1); }, kActionTimeout));
  EXPECT_EQ(Setting("ProxyServer"), std::optional<std::string>("127.0.0.1:" + LocalPort()));
  EXPECT_FALSE(Setting("AutoConfigURL"));
  EXPECT_FALSE(folder.Exists("pac"));
  EXPECT_EQ(HttpGet(*address).statusLine, "HTTP/1.1 404 Not Found");

  window->Command(menu::直连模式);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "BasisConfig", "Proxy Mode") == "0"; }, kActionTimeout));
  EXPECT_EQ(ProxyEnable(), std::optional<DWORD>(0));
  EXPECT_FALSE(Setting("ProxyServer"));
  EXPECT_FALSE(Setting("AutoConfigURL"));

  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
}

TEST_F(ProxyModes, SlowClientsHoldUpNeitherAFetchNorTheExit) {
  // The driver's notification area answers at once (Wine's takes two
  // seconds to remove an icon), and the window stays hidden, as after a
  // start at logon (Wine without a window manager waits two seconds for
  // one when a shown window goes): the exit measured is the program's.
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  WriteRunnableConfig();
  std::string config = Config();
  folder.Write("config.ini", config.replace(config.find("Proxy Mode=0"), 12, "Proxy Mode=1"));
  // A script far larger than what the sockets buffer, so a client that
  // never reads it leaves the server with bytes it cannot send.
  folder.Write("pac.txt", std::string(kPacTemplate) + "// " + std::string(6 << 20, 'x') + "\n");
  ProgramRun run = ProgramRun::StartQuiet(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return Setting("AutoConfigURL").has_value(); }, kStartTimeout));
  const std::string address = *Setting("AutoConfigURL");
  const int port = PortOf(address);
  const std::string request = "GET " + TargetOf(address) + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n\r\n";

  const UINT_PTR neverReads = ConnectLoopback(port, 4096);
  ASSERT_TRUE(SendBytes(neverReads, request));
  std::atomic<bool> done{false};
  std::thread trickle([&] {  // one byte a second, for as long as the server listens
    const UINT_PTR slow = ConnectLoopback(port);
    for (std::size_t i = 0; i < request.size() && !done && SendBytes(slow, request.substr(i, 1)); ++i) Sleep(1000);
    CloseConnection(slow);
  });
  Sleep(1500);

  const DWORD fetchStart = GetTickCount();
  const HttpAnswer answer = HttpGet(address);
  const DWORD fetchMs = GetTickCount() - fetchStart;
  EXPECT_EQ(answer.statusLine, "HTTP/1.1 200 OK");
  EXPECT_EQ(answer.body.size(), folder.Read("pac").value_or("").size());
  EXPECT_LT(fetchMs, 1000u);

  window->Command(menu::退出);
  const DWORD exitStart = GetTickCount();
  const auto exitCode = run.WaitForExit(2000);
  const DWORD exitMs = GetTickCount() - exitStart;
  std::printf("PAC fetch beside two slow clients: %lu ms; exit: %lu ms\n", fetchMs, exitMs);
  EXPECT_EQ(exitCode, std::optional<DWORD>(0));
  done = true;
  trickle.join();
  CloseConnection(neverReads);
}

TEST_F(ProxyModes, APacStartWithoutATemplateSetsNoAddressUntilAScriptArrives) {
  ShellTray tray;
  ASSERT_TRUE(tray.Ready());
  server.SetBody("/new_softs.txt", server.Base());
  server.SetAnswer("/Other/pac.txt", "404 Not Found", "<html>no template</html>");
  WriteRunnableConfig();
  std::string config = Config();
  folder.Write("config.ini", config.replace(config.find("Proxy Mode=0"), 12, "Proxy Mode=1"));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(WaitUntil([&] { return Requested("/new_softs.txt"); }, kActionTimeout));
  window->Click(Ctl::按钮_启动);
  ASSERT_TRUE(WaitUntil([&] { return !window->Enabled(Ctl::按钮_启动); }, kActionTimeout)) << "the engine did not start";
  // The start's download fails (here or at the built-in host): no address.
  EXPECT_TRUE(WaitUntil([&] { return tray.Balloons().size() >= 2 && tray.Balloons().back().title == "PAC 更新失败！"; },
                        30000));
  EXPECT_FALSE(Setting("AutoConfigURL"));

  // The template arrives while PAC mode waits for it: applied at once.
  server.SetBody("/Other/pac.txt", kPacTemplate);
  const auto balloon = UpdatePacFromServer(*window, tray, [&] { return Requests("/Other/pac.txt"); });
  ASSERT_TRUE(balloon);
  EXPECT_EQ(balloon->text, "最新 PAC文件已生效。");
  ASSERT_TRUE(Setting("AutoConfigURL"));
  const HttpAnswer answer = HttpGet(*Setting("AutoConfigURL"));
  EXPECT_EQ(answer.statusLine, "HTTP/1.1 200 OK");
  EXPECT_NE(answer.body.find("function FindProxyForURL"), std::string::npos) << answer.body;
  EXPECT_NE(answer.headers.find("application/x-ns-proxy-autoconfig; charset=utf-8"), std::string::npos) << answer.headers;
}

// The body of a GET through WinHTTP's own engine; empty when it fails.
std::string WinHttpGet(const std::string& url) {
  std::string body;
  const std::wstring wide(url.begin(), url.end());
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
  if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return body;
  const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
  const std::wstring target = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                              std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  HINTERNET session = WinHttpOpen(L"corvane-e2e", WINHTTP_ACCESS_TYPE_NO_PROXY, nullptr, nullptr, 0);
  HINTERNET connection = session ? WinHttpConnect(session, host.c_str(), parts.nPort, 0) : nullptr;
  HINTERNET request = connection ? WinHttpOpenRequest(connection, L"GET", target.c_str(), nullptr, nullptr, nullptr, 0)
                                 : nullptr;
  if (request) WinHttpSetTimeouts(request, 2000, 2000, 2000, 2000);
  DWORD status = 0, size = sizeof status;
  if (request && WinHttpSendRequest(request, nullptr, 0, nullptr, 0, 0, 0) && WinHttpReceiveResponse(request, nullptr) &&
      WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, nullptr, &status, &size,
                          nullptr) &&
      status == 200) {
    char chunk[4096];
    DWORD got = 0;
    while (WinHttpReadData(request, chunk, sizeof chunk, &got) && got > 0) body.append(chunk, got);
  }
  for (HINTERNET handle : {request, connection, session})
    if (handle) WinHttpCloseHandle(handle);
  return body;
}

TEST_F(ProxyModes, ClientsHoldingEverySlotKeepNoPacFetchOut) {
  WriteRunnableConfig();
  std::string config = Config();
  folder.Write("config.ini", config.replace(config.find("Proxy Mode=0"), 12, "Proxy Mode=1"));
  folder.Write("pac.txt", kPacTemplate);
  ProgramRun run = ProgramRun::StartQuiet(exe);
  ASSERT_TRUE(WaitUntil([&] { return Setting("AutoConfigURL").has_value(); }, kStartTimeout));
  const std::string address = *Setting("AutoConfigURL");
  const int port = PortOf(address);

  // Eight connections, each reopened as soon as the server closes it: one
  // sends nothing, one a TLS hello, one half a request.
  const std::string sends[] = {"", "\x16\x03\x01\x02\x00\x01", "GET " + TargetOf(address) + " HTTP/1.1\r\nHost: 127"};
  std::atomic<bool> done{false};
  std::atomic<int> reopened{0};
  std::vector<std::thread> holders;
  for (int i = 0; i < 8; ++i)
    holders.emplace_back([&, bytes = sends[i % 3]] {
      while (!done) {
        const UINT_PTR held = ConnectLoopback(port);
        if (!bytes.empty()) SendBytes(held, bytes);
        WaitUntilClosed(held);
        CloseConnection(held);
        ++reopened;
      }
    });
  Sleep(1500);

  const DWORD start = GetTickCount();
  const std::string script = WinHttpGet(address);
  const DWORD fetchMs = GetTickCount() - start;
  done = true;
  const int reopenings = reopened;
  // The holders wait in recv until the server lets go of them.
  for (std::thread& holder : holders) holder.join();
  std::printf("PAC fetch through WinHTTP beside eight held slots: %lu ms (%d reopenings)\n", fetchMs, reopenings);
  EXPECT_NE(script.find("function FindProxyForURL"), std::string::npos);
  EXPECT_LT(fetchMs, 2000u);
}

class StartAtLogon : public E2eTest {
 protected:
  StartAtLogon() { DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, "Corvane"); }
  ~StartAtLogon() override { DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, "Corvane"); }
};

TEST_F(StartAtLogon, TheCheckBoxWritesAndRemovesTheRunValue) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->ShowPage(1));

  window->Click(Ctl::选择框_开机启动);
  ASSERT_TRUE(window->Sync());
  EXPECT_TRUE(window->Checked(Ctl::选择框_开机启动));
  EXPECT_EQ(RegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Corvane"), std::optional<std::string>("\"" + exe + "\""));
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "Run"), "true");

  window->Click(Ctl::选择框_开机启动);
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(window->Checked(Ctl::选择框_开机启动));
  EXPECT_FALSE(RegistryString(HKEY_LOCAL_MACHINE, kRunKey, "Corvane"));
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "Run"), "false");
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
}

class HelpItems : public E2eTest {};

TEST_F(HelpItems, AboutShowsTheVersionAndTheSite) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Command(menu::关于);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "关于");
  EXPECT_EQ(box->text, std::string("当前版本：v1.0.10\r\n官方网站：") + CORVANE_SITE_URL + "\r\n");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_TRUE(run.Running());
}

TEST_F(HelpItems, HelpHandsThePageToTheBrowser) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  window->Command(menu::使用方法);
  // Wine's stand-in for the default browser takes the address.
  EXPECT_TRUE(WaitUntil([&] { return ChildProcess(run.Id(), "winebrowser.exe") != 0; }, kActionTimeout, 10));
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_TRUE(run.Running());
}

}  // namespace
}  // namespace e2e
