// The proxy a killed Corvane left behind, put right at the next start.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "engine/stale_proxy.h"
#include "engine_test_fixture.h"
#include "system/proxy_ownership.h"
#include "system/user_proxy_snapshot.h"

namespace {

class StaleProxyTest : public EngineTest {
 protected:
  void LeaveProxy(std::uint32_t enable, const std::string& server, const std::string& autoConfig) {
    PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", enable});
    if (!server.empty()) PutSetting("ProxyServer", {FakeRegistry::Type::String, server});
    if (!autoConfig.empty()) PutSetting("AutoConfigURL", {FakeRegistry::Type::String, autoConfig});
    // The LAN connection left as the killed run set it, as the values say.
    system.internetOptions.lan = LanViewOf({enable, server, autoConfig});
  }
};

TEST_F(StaleProxyTest, OwnValuesAreRecognisedOneByOne) {
  EXPECT_TRUE(IsOwnProxyServer(1, "127.0.0.1:2080", "2080"));
  EXPECT_FALSE(IsOwnProxyServer(0, "127.0.0.1:2080", "2080"));  // not enabled
  EXPECT_FALSE(IsOwnProxyServer(1, "127.0.0.1:1080", "2080"));  // another port
  EXPECT_FALSE(IsOwnProxyServer(1, "10.0.0.1:3128", "2080"));

  const std::string dir = "C:\\Brook Tools\\";
  for (const char* own : {"http://127.0.0.1:51234/pac?t=3", "http://127.0.0.1:51234/0123456789abcdef0123456789abcdef/pac?t=3",
                          "file://C:\\Brook Tools\\pac", "FILE://c:\\brook tools\\PAC"})
    EXPECT_TRUE(IsOwnPacAddress(own, dir)) << own;
  for (const char* other : {"", "http://wpad/wpad.dat", "http://127.0.0.1:8080/proxy.pac", "http://127.0.0.1:51234/pac",
                            "http://127.0.0.1:/pac?t=1", "http://127.0.0.1:5/pac?t=1x", "file://C:\\Other\\pac",
                            "http://127.0.0.1:5/0123456789abcdef/pac?t=1", "http://127.0.0.1:5/x/y/pac?t=1"})
    EXPECT_FALSE(IsOwnPacAddress(other, dir)) << other;
}

TEST_F(StaleProxyTest, WithoutASavedCopyOnlyTheOwnValuesAreCleared) {
  LeaveProxy(1, "127.0.0.1:2080", "");
  ClearStaleSystemProxy(t.app);
  EXPECT_TRUE(ProxyCleared());

  LeaveProxy(0, "", "http://127.0.0.1:50999/0123456789abcdef0123456789abcdef/pac?t=12");
  ClearStaleSystemProxy(t.app);
  EXPECT_TRUE(ProxyCleared());
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));  // the chosen mode stays

  // Someone else's automatic configuration beside the program's proxy server.
  LeaveProxy(1, "127.0.0.1:2080", "http://wpad/wpad.dat");
  ClearStaleSystemProxy(t.app);
  EXPECT_EQ(Setting("ProxyEnable")->number, 0u);
  EXPECT_FALSE(Setting("ProxyServer"));
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "http://wpad/wpad.dat");
  EXPECT_EQ(system.internetOptions.lan->autoConfigUrl, "http://wpad/wpad.dat");
}

TEST_F(StaleProxyTest, SomeoneElsesProxyIsLeftAloneAndOurOwnClearedWhateverBrookRuns) {
  LeaveProxy(1, "10.0.0.1:3128", "http://wpad/wpad.dat");
  ClearStaleSystemProxy(t.app);
  EXPECT_EQ(Setting("ProxyEnable")->number, 1u);
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "http://wpad/wpad.dat");
  EXPECT_TRUE(system.internetOptions.calls.empty());

  // A brook.exe of another program: the proxy still points at a dead listener.
  LeaveProxy(1, "127.0.0.1:2080", "");
  t.processes.processes.push_back({50, "brook.exe", 1});
  ClearStaleSystemProxy(t.app);
  EXPECT_FALSE(Setting("ProxyServer"));
  EXPECT_EQ(Setting("ProxyEnable")->number, 0u);
}

TEST(StartupRecovery, TheStartupClearsAProxyLeftByAKilledCorvaneBeforeAnyWorkerStarts) {
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nLocal port=1080\r\n");
  const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  t.system.registry.Put(RegistryRoot::CurrentUser, settings, "ProxyEnable", {FakeRegistry::Type::Number, "", 1});
  t.system.registry.Put(RegistryRoot::CurrentUser, settings, "ProxyServer",
                        {FakeRegistry::Type::String, "127.0.0.1:1080"});
  t.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 10}};
  bool clearedFirst = false;
  t.system.workers.onStart = [&] {
    clearedFirst = !t.system.registry.Get(RegistryRoot::CurrentUser, settings, "ProxyServer");
  };
  RunStartupSequence(t.app);
  EXPECT_EQ(t.system.registry.Get(RegistryRoot::CurrentUser, settings, "ProxyEnable")->number, 0u);
  EXPECT_FALSE(t.system.registry.Get(RegistryRoot::CurrentUser, settings, "ProxyServer"));
  EXPECT_TRUE(clearedFirst);
}

}  // namespace
