// The user's own proxy settings: saved before the program's go in, given
// back where the program lets go, recovered after a crash.
#include <climits>
#include <optional>
#include <string>

#include "engine/stale_proxy.h"
#include "context/tray_menu_layout.h"
#include "shared/hex_text.h"
#include "system/user_proxy_snapshot.h"
#include "system/system_proxy.h"
#include "system_test_fixture.h"

namespace {

const std::string kSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr auto kUser = RegistryRoot::CurrentUser;
using Type = FakeRegistry::Type;

class UserProxyTest : public SystemTest {
 protected:
  UserProxyTest() {
    // A company proxy, switched on, with its bypass list and a PAC address.
    Put("ProxyEnable", {Type::Number, "", 1});
    Put("ProxyServer", {Type::String, "10.1.2.3:8080"});
    Put("ProxyOverride", {Type::String, "*.corp; <local>"});
    Put("AutoConfigURL", {Type::String, "http://wpad.corp/proxy.pac"});
    system.internetOptions.lan = userLan;
    t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\"; }");
    MarkRunning();
  }
  void Put(const std::string& name, FakeRegistry::Value value) { system.registry.Put(kUser, kSettings, name, value); }
  std::optional<std::string> Text(const std::string& name) const {
    auto value = system.registry.Get(kUser, kSettings, name);
    return value ? std::optional(value->bytes) : std::nullopt;
  }
  void ExpectUsersOwn() const {
    EXPECT_EQ(system.registry.Get(kUser, kSettings, "ProxyEnable")->number, 1u);
    EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080");
    EXPECT_EQ(Text("ProxyOverride"), "*.corp; <local>");
    EXPECT_EQ(Text("AutoConfigURL"), "http://wpad.corp/proxy.pac");
    EXPECT_EQ(system.internetOptions.lan, userLan);
    EXPECT_FALSE(HasFile("user-proxy.ini"));
  }

  const LanProxySettings userLan{0x0F, "10.1.2.3:8080", "*.corp; <local>", "http://wpad.corp/proxy.pac"};
};

TEST_F(UserProxyTest, EveryWayOfLettingGoGivesTheUsersSettingsBack) {
  SelectGlobalMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "127.0.0.1:2080");
  EXPECT_TRUE(HasFile("user-proxy.ini"));  // saved before the change
  SelectPacMode(t.app);                   // a second change keeps the first copy
  EXPECT_FALSE(Text("ProxyServer"));
  SelectDirectMode(t.app);
  ExpectUsersOwn();

  // A killed run: its copy on disk comes back at the next start.
  SelectPacMode(t.app);
  system.services.userProxy.reset();
  ClearStaleSystemProxy(t.app);
  ExpectUsersOwn();
}

TEST_F(UserProxyTest, TheProgramsOwnValuesAreNeverSavedAsTheUsers) {
  // Left by a run whose copy is lost: the PAC address is the program's.
  Put("AutoConfigURL", {Type::String, "http://127.0.0.1:50999/0123456789abcdef0123456789abcdef/pac?t=4"});
  system.phoneBook.entries = {"VPN"};
  system.internetOptions.entries["VPN"] = LanProxySettings{0x05, "", std::nullopt, "http://127.0.0.1:50999/x/pac?t=4"};
  SelectGlobalMode(t.app);
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080");
  EXPECT_FALSE(Text("AutoConfigURL"));
  EXPECT_EQ(system.internetOptions.entries["VPN"], LanProxySettings{});  // it may have held that address
}

TEST_F(UserProxyTest, APartialGiveBackKeepsAutoDetectionAndTheBypassList) {
  SelectGlobalMode(t.app);
  // The user picks a new proxy in the system's settings, which write both
  // the plain values and the LAN connection.
  Put("ProxyServer", {Type::String, "192.0.2.9:3128"});
  system.internetOptions.lan = LanProxySettings{0x03, "192.0.2.9:3128", "<local>", ""};
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "192.0.2.9:3128");
  EXPECT_EQ(Text("AutoConfigURL"), "http://wpad.corp/proxy.pac");  // still the program's, so given back
  EXPECT_EQ(system.internetOptions.lan,
            (LanProxySettings{0x0F, "192.0.2.9:3128", "*.corp; <local>", "http://wpad.corp/proxy.pac"}));
}

TEST_F(UserProxyTest, OwnershipIsJudgedFromTheLanConnectionAndFromAnyCopysRecord) {
  // The plain values came back as empty texts, the LAN connection still
  // holds what the program set: all of it is the program's to give back.
  SelectGlobalMode(t.app);
  Put("ProxyServer", {Type::String, ""});
  Put("ProxyEnable", {Type::Number, "", 0});
  SelectDirectMode(t.app);
  ExpectUsersOwn();

  // Where the connection cannot be read back, the plain values decide: the
  // proxy server PAC mode cleared and WinINet wrote back as an empty text
  // counts as missing, as the program left it.
  system.internetOptions.keeps = false;
  SelectPacMode(t.app);
  Put("ProxyServer", {Type::String, ""});
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080");

  // A killed copy elsewhere, on another port, left its proxy; its record
  // tells this copy that it is no user's.
  system.registry.Put(kUser, "Software\\Corvane\\Proxy", "ProxyServer", {Type::String, "127.0.0.1:2081"});
  Put("ProxyServer", {Type::String, "127.0.0.1:2081"});
  Put("ProxyEnable", {Type::Number, "", 1});
  SelectGlobalMode(t.app);
  SelectDirectMode(t.app);
  EXPECT_EQ(system.registry.Get(kUser, kSettings, "ProxyEnable")->number, 0u);
  EXPECT_FALSE(Text("ProxyServer"));
}

TEST_F(UserProxyTest, AModeThatDidNotTakeEffectIsExplainedAndNotClaimed) {
  const auto expectRefused = [&](const std::string& why, const std::string& label) {
    SelectGlobalMode(t.app);
    ASSERT_FALSE(Balloons().empty()) << label;
    EXPECT_EQ(Balloons().back().title, "系统代理未生效！") << label;
    EXPECT_NE(Balloons().back().text.find(why), std::string::npos) << label << ": " << Balloons().back().text;
    EXPECT_TRUE(t.form.MenuChecked(menu::直连模式)) << label;
    EXPECT_FALSE(t.form.MenuChecked(menu::全局模式)) << label;
    EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080") << label;
    EXPECT_EQ(Text("ProxyOverride"), "*.corp; <local>") << label;
  };
  const std::string policies = "SOFTWARE\\Policies\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  system.registry.Put(RegistryRoot::LocalMachine, policies, "ProxySettingsPerUser", {Type::Number, "", 0});
  expectRefused("ProxySettingsPerUser=0", "policy");
  EXPECT_TRUE(system.internetOptions.calls.empty());  // nothing was written
  system.registry.Put(RegistryRoot::LocalMachine, policies, "ProxySettingsPerUser", {Type::Number, "", 1});

  system.internetOptions.enforced = LanProxySettings{0x01, "", std::nullopt, ""};
  expectRefused("读回的代理设置与写入的不同", "mismatch");
  system.internetOptions.enforced.reset();
  system.internetOptions.lan = userLan;

  system.internetOptions.refused = {"refresh"};
  expectRefused("InternetSetOption", "refused call");
  system.internetOptions.refused.clear();

  t.files.diskFull = true;
  expectRefused("user-proxy.ini", "copy not saved");
  t.files.diskFull = false;

  // Wine keeps nothing of the per-connection call: no read-back there.
  system.internetOptions.enforced = LanProxySettings{0x01, "", std::nullopt, ""};
  system.internetOptions.keeps = false;
  SelectGlobalMode(t.app);
  EXPECT_TRUE(t.form.MenuChecked(menu::全局模式));
  EXPECT_EQ(Text("ProxyServer"), "127.0.0.1:2080");

  // A later change whose copy cannot be saved takes the mode in place out too.
  t.files.heldAlone[EngineDirectory() + "user-proxy.ini"] = UINT_MAX;
  SelectGlobalMode(t.app);
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080");
}

TEST_F(UserProxyTest, GlobalModeBypassesLocalAddressesAndGivesTheUsersListBack) {
  system.phoneBook.entries = {"VPN"};
  SelectGlobalMode(t.app);
  const std::string merged = *Text("ProxyOverride");
  EXPECT_EQ(merged.rfind("*.corp; <local>;", 0), 0u) << merged;
  for (const char* local : {"localhost", "127.*", "10.*", "172.16.*", "172.31.*", "192.168.*"})
    EXPECT_NE(merged.find(std::string(";") + local), std::string::npos) << local;
  EXPECT_EQ(merged.find("<local>;<local>"), std::string::npos);
  EXPECT_EQ(system.internetOptions.lan->bypass, merged);
  EXPECT_EQ(system.internetOptions.entries["VPN"].bypass, merged);
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyOverride"), "*.corp; <local>");
}

TEST(UserProxyFile, OnlyEntriesPresentAreReadAndImplausibleValuesAreLeftOut) {
  std::vector<std::string> rejected;
  const auto snapshot = ParseSnapshot(
      "[Saved]\r\nProxyEnable=1\r\nProxyServer=78\r\nAutoConfigURL=" + HexOf("javascript:alert(1)") +
          "\r\n[Lan]\r\nFlags=3\r\nProxyServer=" + HexOf("10.0.0.1:80") +
          "\r\n[Entries]\r\nCount=4294967295\r\nName1=" + HexOf("VPN") + "\r\nName7=" + HexOf("PPPoE") +
          "\r\nEntry7Flags=5\r\nEntry7AutoConfigURL=" + HexOf("http://wpad/x.pac") + "\r\nName9=" + HexOf("a\nb") +
          "\r\n",
      &rejected);
  ASSERT_TRUE(snapshot);
  EXPECT_EQ(snapshot->saved, (ProxyValues{0, std::nullopt, std::nullopt}));  // "x" is no proxy server
  EXPECT_EQ(snapshot->lan, (LanProxySettings{3, "10.0.0.1:80", std::nullopt, ""}));
  ASSERT_EQ(snapshot->entries.size(), 2u);
  EXPECT_EQ(snapshot->entries[1].first, "PPPoE");
  EXPECT_EQ(snapshot->entries[1].second, (LanProxySettings{5, "", std::nullopt, "http://wpad/x.pac"}));
  EXPECT_EQ(rejected, (std::vector<std::string>{"Saved/ProxyServer", "Saved/AutoConfigURL", "Entries/Name9"}));
  EXPECT_TRUE(IsProxyServerText("http=10.1.2.3:8080;https=proxy.corp:3128;"));
  EXPECT_TRUE(IsProxyServerText("[::1]:2080"));
  EXPECT_FALSE(IsProxyServerText("x"));
  EXPECT_FALSE(IsProxyServerText("host:0"));
}

TEST(UserProxyRules, GroupsAreTheProgramsWhenTheyHoldWhatItWroteOrPointAtIt) {
  const ProxyValues written{1, "127.0.0.1:2080", std::nullopt};
  auto own = [&](ProxyValues current, const ProxyValues* w) {
    const OwnValues o = OwnValuesOf(current, w, "2080", "C:\\b\\");
    return std::pair(o.proxy, o.autoConfig);
  };
  EXPECT_EQ(own({1, "127.0.0.1:2080", std::nullopt}, &written), std::pair(true, true));
  EXPECT_EQ(own({1, "127.0.0.1:2080", std::nullopt}, nullptr), std::pair(true, false));
  EXPECT_EQ(own({0, "127.0.0.1:2080", "http://wpad/x.pac"}, &written), std::pair(false, false));  // the user changed both
  EXPECT_EQ(own({std::nullopt, std::nullopt, "file://C:\\B\\pac"}, nullptr), std::pair(false, true));
  const ProxyValues pacWritten{0, std::nullopt, "http://127.0.0.1:5/pac?t=1"};
  EXPECT_EQ(own({std::nullopt, std::nullopt, std::nullopt}, &pacWritten), std::pair(true, false));
}

}  // namespace
