#include <algorithm>
#include <optional>
#include <string>

#include "context/tray_menu_layout.h"
#include "ini/ini_document.h"
#include "system/proxy_bypass.h"
#include "system/system_proxy.h"
#include "system_test_fixture.h"

namespace {

const std::string kSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kConnections = kSettings + "\\Connections";
constexpr auto kUser = RegistryRoot::CurrentUser;
// The fake random source's first 16 bytes are 0 to 15.
const std::string kPacBase = "http://127.0.0.1:50123/000102030405060708090a0b0c0d0e0f/pac";
const std::string kPacAddress1 = kPacBase + "?t=1";

class SystemProxyTest : public SystemTest {
 protected:
  SystemProxyTest() { t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\"; }"); }
  std::optional<FakeRegistry::Value> Setting(const std::string& name) const {
    return system.registry.Get(kUser, kSettings, name);
  }
  std::optional<FakeRegistry::Value> Connection(const std::string& name) const {
    return system.registry.Get(kUser, kConnections, name);
  }
  std::string ConnectionBytes(const std::string& name) const {
    auto value = Connection(name);
    return value && value->type == FakeRegistry::Type::Binary ? value->bytes : "(none)";
  }
  std::string ProxyMode() const { return IniDocument::Parse(t.ConfigText()).Get("BasisConfig", "Proxy Mode", "(none)"); }
  void ExpectProxy(std::uint32_t enable, const std::optional<std::string>& server,
                   const std::optional<std::string>& autoConfig) const {
    auto proxyEnable = Setting("ProxyEnable");
    ASSERT_TRUE(proxyEnable);
    EXPECT_EQ(proxyEnable->type, FakeRegistry::Type::Number);
    EXPECT_EQ(proxyEnable->number, enable);
    auto proxyServer = Setting("ProxyServer");
    EXPECT_EQ(proxyServer ? std::optional(proxyServer->bytes) : std::nullopt, server);
    auto url = Setting("AutoConfigURL");
    EXPECT_EQ(url ? std::optional(url->bytes) : std::nullopt, autoConfig);
  }
};

TEST_F(SystemProxyTest, WithoutPhoneBookEntriesOnlyTheThreeValuesChange) {
  const FakeRegistry::Value before{FakeRegistry::Type::Binary, "left as it was"};
  system.registry.Put(kUser, kConnections, "DefaultConnectionSettings", before);
  MarkRunning();

  SelectPacMode(t.app);
  ExpectProxy(0, std::nullopt, kPacAddress1);
  EXPECT_EQ(ConnectionBytes("DefaultConnectionSettings"), "left as it was");

  SelectGlobalMode(t.app);
  ExpectProxy(1, "127.0.0.1:2080", std::nullopt);
  EXPECT_EQ(ConnectionBytes("DefaultConnectionSettings"), "left as it was");

  SelectDirectMode(t.app);
  ExpectProxy(0, std::nullopt, std::nullopt);
  EXPECT_EQ(ConnectionBytes("DefaultConnectionSettings"), "left as it was");
  // ProxyEnable, the connection value put there by the test, nothing else.
  EXPECT_EQ(system.registry.Count(), 2u);
}

TEST_F(SystemProxyTest, PhoneBookEntriesGetTheSettingsThroughTheCallThatNamesThem) {
  system.phoneBook.entries = {"公司 VPN", "Dial-up"};
  MarkRunning();
  auto& options = system.internetOptions;

  SelectPacMode(t.app);
  for (const char* entry : {"公司 VPN", "Dial-up"})
    EXPECT_EQ(options.entries[entry], (LanProxySettings{0x05, "", std::nullopt, kPacAddress1})) << entry;
  SelectGlobalMode(t.app);
  for (const char* entry : {"公司 VPN", "Dial-up"})
    EXPECT_EQ(options.entries[entry], (LanProxySettings{0x03, "127.0.0.1:2080", WithLocalBypass(std::nullopt), ""}));
  SelectDirectMode(t.app);
  for (const char* entry : {"公司 VPN", "Dial-up"}) EXPECT_EQ(options.entries[entry], LanProxySettings{}) << entry;
  EXPECT_NE(std::find(options.calls.begin(), options.calls.end(), "connection 公司 VPN"), options.calls.end());
  // No connection record is written by hand any more.
  EXPECT_FALSE(Connection("DefaultConnectionSettings"));
  EXPECT_FALSE(Connection("公司 VPN"));
}

TEST_F(SystemProxyTest, EveryApplyTellsWinInetToReloadItsSettings) {
  MarkRunning();
  SelectPacMode(t.app);
  EXPECT_EQ(system.internetOptions.lan, (LanProxySettings{0x05, "", std::nullopt, kPacAddress1}));
  SelectDirectMode(t.app);
  EXPECT_EQ(system.internetOptions.lan, (LanProxySettings{0x01, "", std::nullopt, ""}));
  ApplySystemProxy(t.app, "127.0.0.1:9", ProxyKind::Global);
  // The LAN connection's settings agree with the registry values before
  // WinINet reloads them.
  ASSERT_EQ(system.internetOptions.calls.size(), 9u);
  for (std::size_t i = 0; i < 9; i += 3) {
    EXPECT_EQ(system.internetOptions.calls[i], "lan connection");
    EXPECT_EQ(system.internetOptions.calls[i + 1], "settings changed");
    EXPECT_EQ(system.internetOptions.calls[i + 2], "refresh");
  }
  EXPECT_EQ(system.internetOptions.lan, (LanProxySettings{0x03, "127.0.0.1:9", WithLocalBypass(std::nullopt), ""}));
}

TEST_F(SystemProxyTest, ChoosingAModeWhileStoppedWritesOnlyTheCheckMarksAndProxyMode) {
  const struct {
    void (*select)(AppContext&);
    std::string_view item;
    const char* saved;
  } modes[] = {{SelectGlobalMode, menu::全局模式, "2"},
               {SelectDirectMode, menu::直连模式, "0"},
               {SelectPacMode, menu::PAC模式, "1"}};
  for (const auto& mode : modes) {
    mode.select(t.app);
    for (std::string_view item : {menu::直连模式, menu::PAC模式, menu::全局模式})
      EXPECT_EQ(t.form.MenuChecked(item), item == mode.item) << mode.saved;
    EXPECT_EQ(ProxyMode(), mode.saved);
  }
  EXPECT_EQ(system.registry.Count(), 0u);
  EXPECT_TRUE(system.internetOptions.calls.empty());
  EXPECT_FALSE(HasFile("pac"));
  EXPECT_FALSE(system.pacServer.Listening());
}

TEST_F(SystemProxyTest, ClearingTheAutomaticConfigurationDeletesTheGeneratedPacFile) {
  MarkRunning();
  SelectPacMode(t.app);
  ASSERT_TRUE(HasFile("pac"));
  SelectDirectMode(t.app);
  EXPECT_FALSE(HasFile("pac"));

  SelectPacMode(t.app);
  ASSERT_TRUE(HasFile("pac"));
  SelectGlobalMode(t.app);
  EXPECT_FALSE(HasFile("pac"));
  EXPECT_TRUE(HasFile("config.ini"));
}

TEST_F(SystemProxyTest, BlanksOnlyClearTheProxyButAnAddressIsKeptAsGiven) {
  SetProxyServer(t.app, "127.0.0.1:2080");
  SetProxyServer(t.app, "  　 ");
  ExpectProxy(0, std::nullopt, std::nullopt);

  // A server with inner blanks is written unchanged.
  SetProxyServer(t.app, " 127.0.0.1:2080 ");
  ExpectProxy(1, " 127.0.0.1:2080 ", std::nullopt);

  // An address of blanks is an address for AutoConfigURL, but no
  // connection gets it.
  SetAutoConfigUrl(t.app, "   ");
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "   ");
  EXPECT_EQ(ConnectionSettingsFor("   ", ProxyKind::Pac, std::nullopt), LanProxySettings{});
}

TEST_F(SystemProxyTest, ThePacAddressIsServedLocallyWithANewNumberEachTime) {
  MarkRunning();
  SelectPacMode(t.app);
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, kPacBase + "?t=1");
  SelectPacMode(t.app);
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, kPacBase + "?t=2");
  EXPECT_EQ(system.pacServer.listenCalls, 1);

  const std::string request = "GET /000102030405060708090a0b0c0d0e0f/pac?t=2 HTTP/1.1\r\nHost: 127.0.0.1:50123\r\n\r\n";
  const std::string answer = system.pacServer.Request(request);
  EXPECT_EQ(answer.substr(0, 15), "HTTP/1.1 200 OK");
  EXPECT_NE(answer.find("\r\n\r\nfunction FindProxyForURL(u, h) { return \"PROXY 127.0.0.1:2080;DIRECT;\"; }"),
            std::string::npos);

  SelectDirectMode(t.app);
  EXPECT_EQ(system.pacServer.Request(request).substr(0, 12), "HTTP/1.1 404");
}

TEST_F(SystemProxyTest, AfterTheAddressIsClearedNoOldPacFileIsServed) {
  MarkRunning();
  SelectPacMode(t.app);
  // The engine moved while running: clearing the address deletes the PAC
  // file in the new folder only, and the one left in the old folder is no
  // longer handed out.
  t.app.engineDirectory = EngineDirectory() + "moved\\";
  SelectGlobalMode(t.app);
  ASSERT_TRUE(HasFile("pac"));
  EXPECT_EQ(system.pacServer.Request("GET /000102030405060708090a0b0c0d0e0f/pac?t=1 HTTP/1.1\r\n"
                                      "Host: 127.0.0.1:50123\r\n\r\n").substr(0, 12), "HTTP/1.1 404");
}

TEST_F(SystemProxyTest, WithoutALocalServerOrASecretPacModeLeavesTheUsersSettings) {
  MarkRunning();
  SelectGlobalMode(t.app);
  system.pacServer.port = 0;
  SelectPacMode(t.app);
  ExpectProxy(0, std::nullopt, std::nullopt);  // no file:// address, which browsers do not fetch
  EXPECT_EQ(Balloons().back().title, "PAC模式未生效！");
  EXPECT_FALSE(HasFile("pac"));
  system.pacServer.port = 50123;
  system.random.fails = true;
  SelectPacMode(t.app);
  EXPECT_FALSE(Setting("AutoConfigURL"));
  EXPECT_FALSE(system.pacServer.Listening());
}

}  // namespace
