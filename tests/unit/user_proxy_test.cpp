// The user's own proxy settings: saved before the program's go in, given
// back where the program lets go, recovered after a crash.
#include <optional>
#include <string>

#include "engine/stale_proxy.h"
#include "system/user_proxy_snapshot.h"
#include "system/system_proxy.h"
#include "system_test_fixture.h"

namespace {

const std::string kSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kConnections = kSettings + "\\Connections";
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

TEST_F(UserProxyTest, ValuesTheUserChangedMeanwhileStayAsTheUserSetThem) {
  SelectGlobalMode(t.app);
  Put("ProxyServer", {Type::String, "192.0.2.9:3128"});  // the user's new proxy
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "192.0.2.9:3128");
  EXPECT_EQ(Text("AutoConfigURL"), "http://wpad.corp/proxy.pac");  // still the program's, so given back
  EXPECT_EQ(system.internetOptions.lan, (LanProxySettings{0x07, "192.0.2.9:3128", std::nullopt, "http://wpad.corp/proxy.pac"}));
}

TEST_F(UserProxyTest, TheProgramsOwnValuesAreNeverSavedAsTheUsers) {
  // Left by a run whose copy is lost: the PAC address is the program's.
  Put("AutoConfigURL", {Type::String, "http://127.0.0.1:50999/0123456789abcdef0123456789abcdef/pac?t=4"});
  system.phoneBook.entries = {"VPN"};
  system.registry.Put(kUser, kConnections, "VPN", {Type::Binary, "old record"});
  SelectGlobalMode(t.app);
  SelectDirectMode(t.app);
  EXPECT_EQ(Text("ProxyServer"), "10.1.2.3:8080");
  EXPECT_FALSE(Text("AutoConfigURL"));
  EXPECT_FALSE(system.registry.Get(kUser, kConnections, "VPN"));  // it may have held that address
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
