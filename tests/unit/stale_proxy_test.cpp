// The proxy a killed Corvane left behind, put right at the next start.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "engine/stale_proxy.h"
#include "engine_test_fixture.h"

namespace {

class StaleProxyTest : public EngineTest {
 protected:
  void LeaveProxy(std::uint32_t enable, const std::string& server, const std::string& autoConfig) {
    PutSetting("ProxyEnable", {FakeRegistry::Type::Number, "", enable});
    if (!server.empty()) PutSetting("ProxyServer", {FakeRegistry::Type::String, server});
    if (!autoConfig.empty()) PutSetting("AutoConfigURL", {FakeRegistry::Type::String, autoConfig});
  }
};

TEST_F(StaleProxyTest, SettingsPointingAtThisProgramAreRecognised) {
  const std::string dir = "C:\\Brook Tools\\";
  EXPECT_TRUE(PointsAtOwnProxy({1, "127.0.0.1:2080", ""}, "2080", dir));
  EXPECT_TRUE(PointsAtOwnProxy({0, "", "http://127.0.0.1:51234/pac?t=3"}, "2080", dir));
  EXPECT_TRUE(PointsAtOwnProxy({0, "", "file://C:\\Brook Tools\\pac"}, "2080", dir));
  EXPECT_TRUE(PointsAtOwnProxy({0, "", "FILE://c:\\brook tools\\PAC"}, "2080", dir));

  EXPECT_FALSE(PointsAtOwnProxy({0, "127.0.0.1:2080", ""}, "2080", dir));  // not enabled
  EXPECT_FALSE(PointsAtOwnProxy({1, "127.0.0.1:1080", ""}, "2080", dir));  // another port
  EXPECT_FALSE(PointsAtOwnProxy({1, "10.0.0.1:3128", ""}, "2080", dir));
  for (const char* other : {"http://wpad/wpad.dat", "http://127.0.0.1:8080/proxy.pac", "http://127.0.0.1:51234/pac",
                            "http://127.0.0.1:/pac?t=1", "http://127.0.0.1:5/pac?t=1x", "file://C:\\Other\\pac"})
    EXPECT_FALSE(PointsAtOwnProxy({0, "", other}, "2080", dir)) << other;
}

TEST_F(StaleProxyTest, ALeftoverProxyIsClearedWhenNoEngineRuns) {
  LeaveProxy(1, "127.0.0.1:2080", "");
  ClearStaleSystemProxy(t.app);
  EXPECT_TRUE(ProxyCleared());

  LeaveProxy(0, "", "http://127.0.0.1:50999/pac?t=12");
  ClearStaleSystemProxy(t.app);
  EXPECT_TRUE(ProxyCleared());
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));  // the chosen mode stays
}

TEST_F(StaleProxyTest, SomeoneElsesProxyOrARunningEngineIsLeftAlone) {
  LeaveProxy(1, "10.0.0.1:3128", "http://wpad/wpad.dat");
  ClearStaleSystemProxy(t.app);
  EXPECT_EQ(Setting("ProxyEnable")->number, 1u);
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, "http://wpad/wpad.dat");

  LeaveProxy(1, "127.0.0.1:2080", "");
  t.processes.processes.push_back({50, "brook.exe", 1});
  ClearStaleSystemProxy(t.app);
  EXPECT_EQ(Setting("ProxyServer")->bytes, "127.0.0.1:2080");
}

TEST(StartupRecovery, TheStartupClearsAProxyLeftByAKilledCorvane) {
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nLocal port=1080\r\n");
  const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  t.system.registry.Put(RegistryRoot::CurrentUser, settings, "ProxyEnable", {FakeRegistry::Type::Number, "", 1});
  t.system.registry.Put(RegistryRoot::CurrentUser, settings, "ProxyServer",
                        {FakeRegistry::Type::String, "127.0.0.1:1080"});
  t.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 10}};
  RunStartupSequence(t.app);
  EXPECT_EQ(t.system.registry.Get(RegistryRoot::CurrentUser, settings, "ProxyEnable")->number, 0u);
  EXPECT_FALSE(t.system.registry.Get(RegistryRoot::CurrentUser, settings, "ProxyServer"));
}

}  // namespace
