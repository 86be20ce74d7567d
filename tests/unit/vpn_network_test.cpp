// The VPN preparation: the TAP adapter, the real connection's gateway, DNS
// and name, and the three markers.
#include <gtest/gtest.h>

#include "engine/vpn_network.h"
#include "engine_test_fixture.h"

namespace {

const NetworkAdapter kTap{"TAP-Windows Adapter V9", "以太网 2", "0.0.0.0", ""};
const NetworkAdapter kEthernet{"Intel(R) Ethernet", "Local Area Connection", "192.168.1.1", "192.168.1.53"};
const NetworkAdapter kWifi{"Wireless", "WLAN", "10.0.0.1", "10.0.0.53"};
const NetworkAdapter kLoopback{"Loopback", "Loopback", "0.0.0.0", ""};

class VpnNetworkTest : public EngineTest {
 protected:
  void ExpectRecorded(const std::string& gateway, const std::string& dns, const std::string& name) {
    EXPECT_EQ(t.app.run.vpnGateway, gateway);
    EXPECT_EQ(t.app.run.vpnSavedDns, dns);
    EXPECT_EQ(t.app.run.vpnConnectionName, name);
  }
};

TEST_F(VpnNetworkTest, TheTapAdapterIsKnownByItsExactDescriptionOnly) {
  for (const char* lookalike : {"TAP-Windows Adapter V9 #2", "tap-windows adapter v9", "TAP-Windows Adapter V9 "}) {
    engine.adapters.adapters = {{lookalike, "x", "0.0.0.0", ""}, kEthernet};
    EXPECT_EQ(PrepareVpnNetwork(t.app), "没找到TAP虚拟网卡") << lookalike;
    ExpectRecorded("", "", "");  // the Run state is not touched
  }
  engine.adapters.adapters = {kEthernet, kTap};
  EXPECT_EQ(PrepareVpnNetwork(t.app), "192.168.1.1");
  ExpectRecorded("192.168.1.1", "192.168.1.53", "Local Area Connection");
}

TEST_F(VpnNetworkTest, TheLastAdapterWithAGatewayWinsAndTheTapsOwnNeverCounts) {
  engine.adapters.adapters = {kEthernet, kTap, kWifi, kLoopback};
  EXPECT_EQ(PrepareVpnNetwork(t.app), "10.0.0.1");
  ExpectRecorded("10.0.0.1", "10.0.0.53", "WLAN");

  NetworkAdapter tapWithGateway = kTap;
  tapWithGateway.gateway = "10.8.0.1";
  engine.adapters.adapters = {tapWithGateway, kLoopback};
  t.app.run.ResetToIdle();
  EXPECT_EQ(PrepareVpnNetwork(t.app), "没找到默认网关");
  ExpectRecorded("", "", "");

  // With two TAP adapters the last is the TAP one; the first is an adapter
  // like any other.
  NetworkAdapter firstTap = kTap;
  firstTap.gateway = "172.16.0.1";
  engine.adapters.adapters = {firstTap, kTap};
  EXPECT_EQ(PrepareVpnNetwork(t.app), "172.16.0.1");
}

TEST_F(VpnNetworkTest, AnEmptyGatewayQualifiesAndAsTheLastOneMeansNoGateway) {
  const NetworkAdapter noGateway{"Bluetooth", "蓝牙网络连接", "", "1.1.1.1"};
  engine.adapters.adapters = {kEthernet, kTap, noGateway};
  EXPECT_EQ(PrepareVpnNetwork(t.app), "没找到默认网关");
  ExpectRecorded("", "", "");  // emptied, not left at the Ethernet values
}

TEST_F(VpnNetworkTest, ACustomGatewayIsTakenAsTypedWithoutLookingAnythingUp) {
  UseCustomGateway("192.168.8.1", "", "");
  EXPECT_EQ(PrepareVpnNetwork(t.app), "192.168.8.1");
  ExpectRecorded("192.168.8.1", "", "");
  EXPECT_EQ(engine.adapters.listings, 0);  // no TAP adapter needed either

  UseCustomGateway("", "8.8.8.8", "Ethernet");
  EXPECT_EQ(PrepareVpnNetwork(t.app), "请填写默认网关");
  ExpectRecorded("", "8.8.8.8", "Ethernet");
}

TEST_F(VpnNetworkTest, LeftoverValuesStayUnlessAnAdapterQualifies) {
  t.app.run.vpnGateway = "192.168.9.1";
  t.app.run.vpnSavedDns = "192.168.9.53";
  t.app.run.vpnConnectionName = "old";

  engine.adapters.adapters = {kEthernet};  // no TAP adapter
  EXPECT_EQ(PrepareVpnNetwork(t.app), "没找到TAP虚拟网卡");
  ExpectRecorded("192.168.9.1", "192.168.9.53", "old");

  engine.adapters.adapters = {kTap, kLoopback};  // nothing qualifies
  EXPECT_EQ(PrepareVpnNetwork(t.app), "192.168.9.1");
  ExpectRecorded("192.168.9.1", "192.168.9.53", "old");

  engine.adapters.adapters = {kTap, kEthernet};
  EXPECT_EQ(PrepareVpnNetwork(t.app), "192.168.1.1");
  ExpectRecorded("192.168.1.1", "192.168.1.53", "Local Area Connection");
}

}  // namespace
