#include <gtest/gtest.h>

#include <ctime>

#include "context/tray_menu_layout.h"
#include "config/node_line.h"
#include "config/node_list.h"
#include "fakes/fake_platform.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;

TEST(NodeLine, SplitsAtEverySingleSpace) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitNodeLine("1.2.3.4 443 pw 1 home"), (V{"1.2.3.4", "443", "pw", "1", "home"}));
  EXPECT_EQ(SplitNodeLine("1.2.3.4 443 pw 0 "), (V{"1.2.3.4", "443", "pw", "0"}));
  EXPECT_EQ(SplitNodeLine("a  b"), (V{"a", "", "b"}));
  EXPECT_EQ(SplitNodeLine("h 1 p w 2 r"), (V{"h", "1", "p", "w", "2", "r"}));
  EXPECT_EQ(SplitNodeLine(""), V{});
}

TEST(NodeLine, CaptionsAndRemarks) {
  EXPECT_EQ(CaptionForLoaded("1.2.3.4 443 pw 1 home"), "home(1.2.3.4:443)");
  EXPECT_EQ(CaptionForLoaded("1.2.3.4 443 pw 1 "), "1.2.3.4:443");
  EXPECT_EQ(CaptionForLoaded("h 1 p w 2 r"), "h:1");  // a space inside the password
  EXPECT_EQ(CaptionForLoaded("lonely"), "lonely:");
  NodeFields node{"h", "80", "p", 2, " my vps "};
  EXPECT_EQ(BuildNodeLine(node), "h 80 p 2 myvps");
  EXPECT_EQ(CaptionForEdited(node), "myvps(h:80)");
  EXPECT_EQ(BuildNodeLine({"h", "80", "p", 0, ""}), "h 80 p 0 ");

  NodeFields damaged = NodeFromLine("onlyhost 81");  // fields past the end read as empty
  EXPECT_EQ(damaged.password, "");
  EXPECT_EQ(damaged.protocol, 0);
  EXPECT_EQ(NodeFromLine("h 1 p w 2 r").remark, "");
}

struct NodeListTest : ::testing::Test {
  TestApp t;
  void LoadWith(const std::string& nodeKeys, int num, const std::string& select = "") {
    t.WriteConfig("[NodeList]\r\nNum=" + std::to_string(num) + "\r\n" + select + "[Node]\r\n" + nodeKeys);
    t.Load();
  }
  std::string Line(int i) const { return t.app.nodes.lines.at(i); }
};

TEST_F(NodeListTest, EmptyNodeKeysAreSkippedAndRenumberedOnSave) {
  LoadWith("Node1=a 1 p 0 one\r\nNode2=\r\nNode3=c 3 p 2 \r\n", 3);
  EXPECT_EQ(t.form.Rows(), (std::vector<std::string>{"one(a:1)", "c:3"}));
  SaveNodeList(t.app);
  const std::string text = t.ConfigText();
  EXPECT_NE(text.find("Num=2\r\n"), std::string::npos);
  EXPECT_NE(text.find("[Node]\r\nNode1=a 1 p 0 one\r\nNode2=c 3 p 2\r\n"), std::string::npos);  // values read back trimmed
  EXPECT_EQ(text.find("Node3"), std::string::npos);
}

TEST_F(NodeListTest, SelectNodeOutOfRangeSelectsTheFirstRow) {
  for (const char* select : {"Select node=2\r\n", "Select node=9\r\n", "Select node=-1\r\n"}) {
    TestApp fresh;
    fresh.WriteConfig(std::string("[NodeList]\r\nNum=2\r\n") + select +
                      "[Node]\r\nNode1=a 1 p 0 \r\nNode2=b 2 q 1 \r\n");
    fresh.Load();
    EXPECT_EQ(fresh.form.SelectedRow(kList), 0) << select;
    EXPECT_EQ(fresh.form.Text(Ctl::编辑框_服务器IP), "a") << select;
  }
  LoadWith("Node1=a 1 p 0 \r\nNode2=b 2 q 1 x\r\n", 2, "Select node=1\r\n");
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器备注), "x");
  EXPECT_EQ(t.form.ComboSelection(Ctl::组合框_服务器协议), 1);
}

TEST_F(NodeListTest, NumWithOnlyEmptyNodesLeavesTheListEmpty) {
  LoadWith("Node1=\r\n", 1);
  EXPECT_EQ(t.form.RowCount(kList), 0);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "");
  EXPECT_FALSE(t.form.Enabled(Ctl::按钮_删除));
}

TEST_F(NodeListTest, OnlyTheNodeKeysThatExistAreVisitedInNumberOrder) {
  const std::clock_t start = std::clock();
  LoadWith("Node999999999=z 9 p 0 \r\nNODE5=e 5 p 0 \r\nNode05=x 0 p 0 \r\nNode1=a 1 p 0 \r\n"
           "Node5=dup 5 p 0 \r\nNode2000000001=y 1 p 0 \r\n",
           2000000000);
  // Counting up to the highest key took many seconds of processor time.
  EXPECT_LT(std::clock() - start, 2 * CLOCKS_PER_SEC);
  EXPECT_EQ(t.form.Rows(), (std::vector<std::string>{"a:1", "e:5", "z:9"}));
  SaveNodeList(t.app);
  EXPECT_EQ(t.app.config.Load().Keys("Node"), (std::vector<std::string>{"Node1", "Node2", "Node3"}));
}

TEST_F(NodeListTest, EditsAreKeptWhenAnotherRowIsClicked) {
  LoadWith("Node1=a 1 p 0 \r\nNode2=b 2 q 1 \r\n", 2);
  t.form.Type(Ctl::编辑框_服务器端口, "999");
  t.form.ClickRow(1);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "b");
  EXPECT_EQ(t.form.RowCaption(kList, 0), "a:999");
  t.form.ClickRow(0);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器端口), "999");
  EXPECT_EQ(t.ConfigText().find("999"), std::string::npos);  // memory only until a save

  // Clicking the current row throws away edits not yet stored.
  t.form.Type(Ctl::编辑框_服务器端口, "1234");
  t.form.ClickRow(0);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器端口), "999");
}

TEST_F(NodeListTest, ARemarkTypedOnALineWithoutOneIsAnEdit) {
  LoadWith("Node1=h 1 p w 2 r\r\nNode2=b 2 q 1 \r\n", 2);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器密码), "p");
  t.form.Type(Ctl::编辑框_服务器备注, "new remark");
  t.form.ClickRow(1);
  EXPECT_EQ(Line(0), "h 1 p 0 newremark");  // "w" read as protocol 0
  EXPECT_EQ(t.form.RowCaption(kList, 0), "newremark(h:1)");
}

TEST_F(NodeListTest, UntouchedNodesGoBackByteForByte) {
  // A password cut after a lead byte, and Num=-1 beside present nodes.
  LoadWith("Node1=a 1 pw\x81 0 \xD2\xBB\r\nNode2=b 2 q 1 \r\n", -1);
  ASSERT_EQ(t.form.RowCount(kList), 2);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器密码), "pw?");  // never the lone byte itself
  t.form.ClickRow(1);
  t.form.ClickRow(0);
  ASSERT_TRUE(SaveNodeList(t.app));
  EXPECT_EQ(t.app.config.Read("Node", "Node1", ""), "a 1 pw\x81 0 \xD2\xBB");
  EXPECT_EQ(t.app.config.Read("Node", "Node2", ""), "b 2 q 1");
  // A changed field goes in; the untouched ones keep their bytes.
  t.form.Type(Ctl::编辑框_服务器端口, "81");
  ASSERT_TRUE(SaveNodeList(t.app));
  EXPECT_EQ(t.app.config.Read("Node", "Node1", ""), "a 81 pw\x81 0 \xD2\xBB");
}

TEST_F(NodeListTest, ClickOnNoRowReselectsTheCurrentOne) {
  LoadWith("Node1=a 1 p 0 \r\nNode2=b 2 q 1 \r\n", 2, "Select node=1\r\n");
  t.form.ClickRow(-1);
  EXPECT_EQ(t.form.SelectedRow(kList), 1);
}

TEST_F(NodeListTest, DeleteSelectsTheRowAbove) {
  LoadWith("Node1=a 1 p 0 \r\nNode2=b 2 q 0 \r\nNode3=c 3 r 0 \r\n", 3, "Select node=2\r\n");
  DeleteNode(t.app);
  EXPECT_EQ(t.form.SelectedRow(kList), 1);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "b");
  t.form.ClickRow(0);
  DeleteNode(t.app);
  EXPECT_EQ(t.form.SelectedRow(kList), 0);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "b");
  EXPECT_EQ(t.app.nodes.lines, std::vector<std::string>{"b 2 q 0"});
  EXPECT_TRUE(t.form.Enabled(Ctl::按钮_删除));
}

TEST_F(NodeListTest, DeletingTheLastNodeDisablesTheEditorUntilNew) {
  t.Load();
  t.form.Type(Ctl::编辑框_服务器备注, "keep");
  DeleteNode(t.app);
  EXPECT_EQ(t.form.RowCount(kList), 0);
  EXPECT_EQ(t.form.SelectedRow(kList), -1);
  EXPECT_FALSE(t.form.Enabled(Ctl::编辑框_服务器IP));
  EXPECT_FALSE(t.form.Enabled(Ctl::组合框_服务器协议));
  EXPECT_FALSE(t.form.Enabled(Ctl::按钮_删除));
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器备注), "keep");

  DeleteNode(t.app);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "当前没有选中节点！");
  EXPECT_EQ(t.form.messages[0].title, "错误");

  SaveNodeList(t.app);  // nothing selected: nothing written
  EXPECT_EQ(t.ConfigText(), "[BasisConfig]\r\nFile=\r\n");

  NewNode(t.app);
  EXPECT_TRUE(t.form.Enabled(Ctl::编辑框_服务器IP));
  EXPECT_TRUE(t.form.Enabled(Ctl::按钮_删除));
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器密码), "corvane");
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器备注), "");
}

TEST_F(NodeListTest, SaveWritesNodesSelectionAndBasicKeys) {
  t.Load();
  t.form.SetMenuChecked(menu::PAC模式, false);
  t.form.SetMenuChecked(menu::全局模式, true);
  t.form.Type(Ctl::编辑框_服务器备注, "a b");
  NewNode(t.app);
  t.form.Type(Ctl::编辑框_服务器IP, "::1");
  SaveNodeList(t.app);
  EXPECT_EQ(t.ConfigText(),
            "[BasisConfig]\r\nFile=\r\nProxy Mode=2\r\nRun Mode=HTTP\r\n"
            "[NodeList]\r\nNum=2\r\nSelect node=1\r\n"
            "[Node]\r\nNode1=127.0.0.1 2333 corvane 0 \r\nNode2=::1 2333 corvane 0 \r\n");
  EXPECT_EQ(t.form.Rows(), (std::vector<std::string>{"127.0.0.1:2333", "::1:2333"}));
}

TEST_F(NodeListTest, AnEmptyRemarkRoundTripsThroughTheFile) {
  LoadWith("Node1=h 1 p 2 \r\n", 1);
  SaveNodeList(t.app);
  TestApp again;
  again.WriteConfig(t.ConfigText());
  again.Load();
  EXPECT_EQ(again.form.Rows(), std::vector<std::string>{"h:1"});
  EXPECT_EQ(again.form.Text(Ctl::编辑框_服务器备注), "");
  EXPECT_EQ(again.form.ComboSelection(Ctl::组合框_服务器协议), 2);
}

}  // namespace
