// The latency test of all nodes through the real window: TCP connects to
// loopback ports that answer, refuse or stay silent, the column "延迟", the
// sort, the list's own menu by the mouse and the keyboard, and an exit in
// the middle of a long test.
#include <cstdio>
#include <map>

#include "driver/loopback_peers.h"
#include "driver/popup_menu.h"
#include "e2e_test.h"
#include "context/list_menu_layout.h"
#include "context/tray_menu_layout.h"

namespace e2e {
namespace {

enum class Kind { Answers, Refused, Silent };

struct Node {
  int port;
  Kind kind;
};

std::string Caption(int i, const Node& node) {
  return "n" + std::to_string(i) + "(127.0.0.1:" + std::to_string(node.port) + ")";
}

std::string ConfigWith(const std::vector<Node>& nodes, int timeoutSeconds) {
  std::string text = "[BasisConfig]\r\nFile=\r\n[MoreSettings]\r\nTimeout=" + std::to_string(timeoutSeconds) +
                     "\r\n[NodeList]\r\nNum=" + std::to_string(nodes.size()) + "\r\nSelect node=0\r\n[Node]\r\n";
  for (std::size_t i = 0; i < nodes.size(); ++i)
    text += "Node" + std::to_string(i + 1) + "=127.0.0.1 " + std::to_string(nodes[i].port) + " p 0 n" +
            std::to_string(i) + "\r\n";
  return text;
}

bool IsTime(const std::string& detail) {
  return detail.size() > 3 && detail.ends_with(" ms") &&
         detail.find_first_not_of("0123456789") == detail.size() - 3;
}

bool Fits(const std::string& detail, Kind kind) {
  switch (kind) {
    case Kind::Answers: return IsTime(detail);
    case Kind::Refused: return detail == "失败";
    case Kind::Silent: return detail == "超时";
  }
  return false;
}

bool AllTested(const CorvaneWindow& window) {
  for (const std::string& detail : window.RowDetails())
    if (detail.empty()) return false;
  return true;
}

class NodeLatency : public E2eTest {
 protected:
  LoopbackPeers peers;
};

TEST_F(NodeLatency, TwoHundredNodesAnswerRefuseOrTimeOutAndSortWithTheEditorKept) {
  const int silent = peers.SilentPort();
  ASSERT_NE(silent, 0);
  std::vector<Node> nodes;
  std::map<std::string, Kind> kindOf;
  for (int i = 0; i < 200; ++i) {
    const Kind kind = i % 4 < 2 ? Kind::Answers : i % 4 == 2 ? Kind::Refused : Kind::Silent;
    nodes.push_back({kind == Kind::Answers ? peers.AddListener() : kind == Kind::Refused ? peers.ClosedPort() : silent, kind});
    ASSERT_NE(nodes.back().port, 0);
    kindOf[Caption(i, nodes.back())] = kind;
  }
  folder.Write("config.ini", ConfigWith(nodes, 2));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);

  window->Command(menu::测试全部节点延迟);
  // A silent node deleted while its connect is under way.
  ASSERT_TRUE(window->ClickRow(3));
  window->Click(Ctl::按钮_删除);
  ASSERT_TRUE(window->Sync());
  ASSERT_TRUE(WaitUntil([&] { return AllTested(*window); }, 60000));
  const std::vector<std::string> rows = window->Rows();
  const std::vector<std::string> details = window->RowDetails();
  ASSERT_EQ(rows.size(), 199u);
  EXPECT_EQ(kindOf.count(rows[2]) + kindOf.count(rows[3]), 2u);
  EXPECT_EQ(rows[3], Caption(4, nodes[4]));
  for (std::size_t row = 0; row < rows.size(); ++row)
    EXPECT_TRUE(Fits(details[row], kindOf[rows[row]])) << rows[row] << " shows " << details[row];

  // A refused node selected, then sorted from the list's menu (Shift+F10).
  ASSERT_TRUE(window->ClickRow(2));
  ASSERT_TRUE(window->Sync());
  ASSERT_TRUE(window->PressKeysInList({VK_SHIFT, VK_F10}));
  HWND menu = WaitForPopupMenu(run.Id(), kActionTimeout);
  ASSERT_TRUE(menu);
  ChooseInPopupMenu(menu, VK_DOWN, 2);  // 按延迟排序
  ASSERT_TRUE(WaitForNoPopupMenu(run.Id(), kActionTimeout));
  ASSERT_TRUE(window->Sync());
  const std::vector<std::string> sorted = window->RowDetails();
  const std::vector<std::string> sortedRows = window->Rows();
  for (std::size_t row = 0; row < sorted.size(); ++row) {
    const Kind expected = row < 100 ? Kind::Answers : row < 149 ? Kind::Silent : Kind::Refused;
    EXPECT_TRUE(Fits(sorted[row], expected)) << row << ": " << sorted[row];
  }
  EXPECT_EQ(sortedRows[window->SelectedRow()], Caption(2, nodes[2]));
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器备注), "n2");
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器端口), std::to_string(nodes[2].port));
}

TEST_F(NodeLatency, TheListMenuByMouseAndMenuKeyTestsSortsAndDeletesTheRightRow) {
  const std::vector<Node> nodes{{peers.ClosedPort(), Kind::Refused},
                                {peers.AddListener(), Kind::Answers},
                                {peers.SilentPort(), Kind::Silent}};
  ASSERT_NE(nodes[2].port, 0);
  folder.Write("config.ini", ConfigWith(nodes, 1));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->RowDetails(), (std::vector<std::string>{"", "", ""}));

  ASSERT_TRUE(window->PressKeysInList({VK_APPS}));
  HWND menu = WaitForPopupMenu(run.Id(), kActionTimeout);
  ASSERT_TRUE(menu);
  ChooseInPopupMenu(menu, VK_DOWN, 1);  // 测试全部节点延迟
  ASSERT_TRUE(WaitUntil([&] { return AllTested(*window); }, 30000));
  ASSERT_TRUE(window->ClickListHeader(1));
  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(window->Rows(), (std::vector<std::string>{Caption(1, nodes[1]), Caption(2, nodes[2]), Caption(0, nodes[0])}));

  // A right click on the second row shows it in the editor; "删除" from the
  // menu removes it and nothing else.
  ASSERT_TRUE(window->ClickRow(1, true));
  menu = WaitForPopupMenu(run.Id(), kActionTimeout);
  ASSERT_TRUE(menu);
  EXPECT_EQ(window->SelectedRow(), 1);
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器备注), "n2");
  ChooseInPopupMenu(menu, VK_UP, 1);  // 删除, the last item
  ASSERT_TRUE(WaitForNoPopupMenu(run.Id(), kActionTimeout));
  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(window->Rows(), (std::vector<std::string>{Caption(1, nodes[1]), Caption(0, nodes[0])}));
  EXPECT_EQ(window->RowDetails()[1], "失败");
}

// From "退出" until the process has ended, with 10,000 nodes, half of them
// refusing and half silent, with or without a latency test under way.
ULONGLONG ExitMilliseconds(LoopbackPeers& peers, const std::string& name, bool testing) {
  const int silent = peers.SilentPort();
  const int closed = peers.ClosedPort();
  if (!silent || !closed) return ~0ull;
  std::vector<Node> nodes;
  for (int i = 0; i < 10000; ++i) nodes.push_back(i % 2 ? Node{silent, Kind::Silent} : Node{closed, Kind::Refused});
  TestFolder folder(name);
  const std::string exe = folder.InstallCorvane();
  folder.Write("config.ini", ConfigWith(nodes, 10));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  if (!window) return ~0ull;
  if (testing) {
    window->Command(menu::测试全部节点延迟);
    if (!WaitUntil([&] { return window->RowDetail(0) == "失败"; }, kActionTimeout)) return ~0ull;
  } else {
    Sleep(1000);
  }
  const ULONGLONG asked = GetTickCount64();
  window->Command(menu::退出);
  if (!run.WaitForExit(kActionTimeout)) return ~0ull;
  return GetTickCount64() - asked;
}

// An idle exit with 10,000 rows takes about 0.15 s under Wine; the test
// under way may add under a second to it. Measured against an idle exit on
// the same machine, so that a slow machine does not fail it.
TEST_F(NodeLatency, ExitDuringATenThousandNodeTestEndsWithinASecondOfAnIdleExit) {
  const ULONGLONG idle = ExitMilliseconds(peers, CurrentTestName() + "-idle", false);
  const ULONGLONG testing = ExitMilliseconds(peers, CurrentTestName() + "-testing", true);
  ASSERT_NE(idle, ~0ull);
  ASSERT_NE(testing, ~0ull);
  std::printf("exit with 10,000 rows: idle %llu ms, during a test %llu ms\n", idle, testing);
  EXPECT_LT(testing, idle + 1000) << "idle exit " << idle << " ms";
}

}  // namespace
}  // namespace e2e
