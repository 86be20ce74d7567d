#include <gtest/gtest.h>

#include "config/node_list.h"
#include "context/list_menu_layout.h"
#include "diag/all_node_latency.h"
#include "fakes/fake_platform.h"

namespace {

using Answer = FakeTcpConnects::Answer;
using Rows = std::vector<std::string>;
constexpr Ctl kList = Ctl::超级列表框_服务器列表;

struct AllNodeLatencyTest : ::testing::Test {
  TestApp t;
  FakeTcpConnects& tcp = t.diag.tcp;

  // Nodes "10.0.0.<n> <port> p 0 n<n>", each with its own peer.
  void Load(const std::vector<FakeTcpConnects::Peer>& peers) {
    std::string keys;
    for (std::size_t i = 0; i < peers.size(); ++i) {
      const std::string n = std::to_string(i);
      keys += "Node" + std::to_string(i + 1) + "=10.0.0." + n + " 80 p 0 n" + n + "\r\n";
      tcp.peers["10.0.0." + n + ":80"] = peers[i];
    }
    t.WriteConfig("[NodeList]\r\nNum=" + std::to_string(peers.size()) + "\r\n[Node]\r\n" + keys);
    t.Load();
    t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, "1");
  }
  void RunTest() {
    ToggleAllNodeLatency(t.app);
    t.diag.workers.RunAll();
  }
};

TEST_F(AllNodeLatencyTest, SortsFastestThenTimedOutFailedUntestedKeepingEqualsAndTheEditor) {
  Load({{Answer::Refuses, 5}, {Answer::Accepts, 30}, {Answer::Silent}, {Answer::Accepts, 10}, {Answer::Accepts, 10}});
  // A host name that resolves, one that does not, and a port that is none.
  tcp.names["good.example"] = "10.9.9.9";
  tcp.peers["10.9.9.9:443"] = {Answer::Accepts, 20};
  AppendNodes(t.app, {{"good.example", "443", "p", 0, "named"}, {"nowhere.example", "1", "p", 0, "lost"},
                      {"[::1]", "x", "p", 0, "bad"}});
  RunTest();
  EXPECT_EQ(t.form.Details(), (Rows{"失败", "30 ms", "超时", "10 ms", "10 ms", "20 ms", "失败", "失败"}));
  EXPECT_FALSE(t.form.MenuChecked(menu::测试全部节点延迟));

  NewNode(t.app);  // untested
  t.form.ClickRow(2);
  t.form.Type(Ctl::编辑框_服务器备注, "edited");
  t.form.ClickLatencyHeader();
  EXPECT_EQ(t.form.Rows(), (Rows{"n3(10.0.0.3:80)", "n4(10.0.0.4:80)", "named(good.example:443)", "n1(10.0.0.1:80)",
                                 "n2(10.0.0.2:80)", "n0(10.0.0.0:80)", "lost(nowhere.example:1)", "bad([::1]:x)",
                                 "127.0.0.1:2333"}));
  EXPECT_EQ(t.form.Details(), (Rows{"10 ms", "10 ms", "20 ms", "30 ms", "超时", "失败", "失败", "失败", ""}));
  EXPECT_EQ(t.form.SelectedRow(kList), 4);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器备注), "edited");
  SaveNodeList(t.app);
  const std::string saved = t.ConfigText();
  EXPECT_NE(saved.find("Node1=10.0.0.3 80 p 0 n3\r\nNode2=10.0.0.4"), std::string::npos);
  EXPECT_NE(saved.find("Node5=10.0.0.2 80 p 0 edited\r\n"), std::string::npos);
  EXPECT_EQ(saved.find(" ms"), std::string::npos);
}

TEST_F(AllNodeLatencyTest, ResultsFollowTheirNodesThroughDeletesAndAdditions) {
  Load({{Answer::Accepts, 10}, {Answer::Accepts, 400}, {Answer::Refuses, 450}, {Answer::Accepts, 700}});
  bool edited = false;
  tcp.onWait = [&] {
    if (edited || tcp.nowUs < 5'300'000) return;
    edited = true;
    EXPECT_EQ(t.form.Details()[0], "10 ms");  // a first batch has landed
    t.form.ClickRow(1);
    DeleteNode(t.app);  // its connect is under way
    AppendNodes(t.app, {{"10.0.0.7", "80", "p", 0, "late"}});
  };
  RunTest();
  ASSERT_TRUE(edited);
  EXPECT_EQ(t.form.Rows(), (Rows{"n0(10.0.0.0:80)", "n2(10.0.0.2:80)", "n3(10.0.0.3:80)", "late(10.0.0.7:80)"}));
  EXPECT_EQ(t.form.Details(), (Rows{"10 ms", "失败", "700 ms", ""}));

  // A new test starts from an empty column and measures the new node too.
  bool looked = false;
  tcp.onWait = [&] {
    if (!std::exchange(looked, true)) {
      EXPECT_EQ(t.form.Details()[0], "");
    }
  };
  RunTest();
  EXPECT_EQ(t.form.Details(), (Rows{"10 ms", "失败", "700 ms", "失败"}));
}

TEST_F(AllNodeLatencyTest, AtMost32ConnectsUnderWayAndChoosingAgainStops) {
  std::vector<FakeTcpConnects::Peer> peers;
  for (int i = 0; i < 100; ++i) peers.push_back({i % 2 ? Answer::Silent : Answer::Accepts, 100 + i});
  Load(peers);
  RunTest();
  EXPECT_EQ(tcp.maxInFlight, kMaxConnectsInFlight);
  EXPECT_EQ(tcp.opened, 100);
  EXPECT_EQ(t.form.Details()[98], "198 ms");
  EXPECT_EQ(t.form.Details()[99], "超时");  // after 超时时间, 1 s

  bool chosen = false;
  tcp.onWait = [&] {
    if (std::exchange(chosen, true)) return;
    EXPECT_TRUE(t.form.MenuChecked(menu::测试全部节点延迟));
    ToggleAllNodeLatency(t.app);  // chosen again
    // and once more at once: the stopped test still holds its sockets
    ToggleAllNodeLatency(t.app);
    EXPECT_FALSE(t.form.MenuChecked(menu::测试全部节点延迟));
  };
  RunTest();
  EXPECT_EQ(tcp.opened, 100 + kMaxConnectsInFlight);  // nothing after the stop
  EXPECT_EQ(t.diag.workers.started, 2);
  EXPECT_EQ(t.form.Details()[0], "");
  EXPECT_FALSE(t.form.MenuChecked(menu::测试全部节点延迟));
}

TEST_F(AllNodeLatencyTest, RightClickSelectsShowsAndOffersTheListMenu) {
  Load({{Answer::Accepts, 1}, {Answer::Accepts, 1}, {Answer::Accepts, 1}});
  t.form.RightClickRow(1);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "10.0.0.1");
  std::vector<std::string_view> captions;
  for (const PopupEntry& item : t.form.listMenu) captions.push_back(item.caption);
  EXPECT_EQ(captions, (std::vector<std::string_view>{"测试全部节点延迟", "按延迟排序", "-", "生成分享链接",
                                                     "显示分享二维码", "-", "删除"}));
  EXPECT_TRUE(t.form.listMenu.back().enabled);
  OnMenuCommand(t.app, menu::删除);
  EXPECT_EQ(t.form.Rows(), (Rows{"n0(10.0.0.0:80)", "n2(10.0.0.2:80)"}));
}

}  // namespace
