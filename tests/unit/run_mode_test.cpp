// The Run mode switch: the saved mode, the menu, the withdrawal of global
// mode in SOCKS5, and the balloons.
#include <gtest/gtest.h>

#include "app/events.h"
#include "engine/engine_start.h"
#include "engine/engine_stop.h"
#include "engine/run_mode.h"
#include "engine_test_fixture.h"

namespace {

class RunModeTest : public EngineTest {
 protected:
  RunModeTest() { EXPECT_TRUE(t.form.MenuChecked(menu::HTTP方式启动)); }
};

TEST_F(RunModeTest, SocksWhileRunningInGlobalModeClearsTheProxyAtOnce) {
  CheckProxyMode(menu::全局模式);
  StartEngine(t.app, false);
  ASSERT_EQ(Setting("ProxyEnable")->number, 1u);

  OnMenuCommand(t.app, menu::HTTP方式启动);
  EXPECT_EQ(t.app.run.runMode, "SOCKS5");
  EXPECT_EQ(Saved("BasisConfig", "Run Mode"), "SOCKS5");
  EXPECT_FALSE(t.form.MenuChecked(menu::HTTP方式启动));
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::全局模式));
  EXPECT_FALSE(t.form.MenuEnabled(menu::全局模式));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "0");
  EXPECT_TRUE(ProxyCleared());
  EXPECT_TRUE(Running());  // the engine is not restarted
  EXPECT_EQ(engine.processes.launched.size(), 1u);
  const auto balloon = LastBalloon();
  ASSERT_TRUE(balloon);
  EXPECT_EQ(balloon->title, "切换启动方式为：SOCKS5");
  EXPECT_EQ(balloon->text, "当前 Brook 正在运行，需要重启(停止+启动)后才能生效！\r\n因为协议原因，所以全局模式禁用。");
  EXPECT_EQ(balloon->kind, BalloonIcon::None);
}

TEST_F(RunModeTest, SocksWhileStoppedInGlobalModeOnlyChangesTheChoice) {
  CheckProxyMode(menu::全局模式);
  t.form.SetText(Ctl::编辑框_本地端口, "1080");
  SwitchRunMode(t.app);
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_FALSE(t.form.MenuEnabled(menu::全局模式));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "0");
  EXPECT_FALSE(Setting("ProxyEnable"));  // nothing applied while stopped
  EXPECT_EQ(LastBalloon()->text,
            "下次启动代理将应用为：\r\nSOCKS5 代理：127.0.0.1:1080\r\n"
            "因为系统代理设置不支持 SOCKS5 协议的原因，所以[代理模式 - 全局模式]禁用。");
}

TEST_F(RunModeTest, BackToHttpOffersGlobalModeWithoutChoosingIt) {
  CheckProxyMode(menu::全局模式);
  SwitchRunMode(t.app);
  SwitchRunMode(t.app);
  EXPECT_EQ(t.app.run.runMode, "HTTP");
  EXPECT_EQ(Saved("BasisConfig", "Run Mode"), "HTTP");
  EXPECT_TRUE(t.form.MenuChecked(menu::HTTP方式启动));
  EXPECT_TRUE(t.form.MenuEnabled(menu::全局模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::全局模式));
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  const auto balloon = LastBalloon();
  EXPECT_EQ(balloon->title, "切换启动方式为：HTTP");
  EXPECT_EQ(balloon->text,
            "下次启动代理将应用为：\r\nHTTP 代理：127.0.0.1:2080\r\n注意：如果服务器协议为 VPN ，那么将默认为 SOCKS5 模式！");

  StartEngine(t.app, false);
  SwitchRunMode(t.app);
  SwitchRunMode(t.app);
  EXPECT_EQ(LastBalloon()->text, "当前 Brook 正在运行，需要重启(停止+启动)后才能生效！");
}

TEST_F(RunModeTest, TheRunningListenerDecidesGlobalModeAndThePacEntry) {
  t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\"; }");
  CheckProxyMode(menu::PAC模式);
  SwitchRunMode(t.app);
  StartEngine(t.app, false);
  SwitchRunMode(t.app);  // back to HTTP while the SOCKS5 listener runs
  EXPECT_FALSE(t.form.MenuEnabled(menu::全局模式));
  EXPECT_EQ(LastBalloon()->text,
            "当前 Brook 正在运行，需要重启(停止+启动)后才能生效！\r\n当前运行的是 SOCKS5 代理，重启前全局模式不可用。");
  OnMenuCommand(t.app, menu::全局模式);  // a command for the disabled item
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));
  EXPECT_FALSE(Setting("ProxyServer"));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "1");
  OnMenuCommand(t.app, menu::PAC模式);
  EXPECT_EQ(t.folder.Read("pac"), "function FindProxyForURL(u, h) { return \"SOCKS5 127.0.0.1:2080;DIRECT;\"; }");

  StopEngine(t.app);
  EXPECT_TRUE(t.form.MenuEnabled(menu::全局模式));
  StartEngine(t.app, false);  // now an HTTP listener, which the Run mode leaves
  SwitchRunMode(t.app);
  OnMenuCommand(t.app, menu::PAC模式);
  EXPECT_EQ(t.folder.Read("pac"), "function FindProxyForURL(u, h) { return \"PROXY 127.0.0.1:2080;DIRECT;\"; }");
}

TEST_F(RunModeTest, PacModeStaysThroughTheSwitch) {
  t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\"; }");
  CheckProxyMode(menu::PAC模式);
  StartEngine(t.app, false);
  const auto pacAddress = Setting("AutoConfigURL");
  ASSERT_TRUE(pacAddress);
  SwitchRunMode(t.app);
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));
  EXPECT_EQ(Saved("BasisConfig", "Proxy Mode"), "1");
  EXPECT_EQ(Setting("AutoConfigURL")->bytes, pacAddress->bytes);
}

}  // namespace
