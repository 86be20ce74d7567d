// The server editor on page 0: leaving an emptied node field is refused on
// the spot (a message, the current node's row selected again, the focus back
// in the field), and new nodes join the list.
#include <functional>

#include "driver/popup_menu.h"
#include "e2e_test.h"

namespace e2e {
namespace {

std::string TwoNodes(int selected = 1) {
  return "[BasisConfig]\r\nFile=\r\n[NodeList]\r\nNum=2\r\nSelect node=" + std::to_string(selected) +
         "\r\n[Node]\r\nNode1=10.0.0.1 9001 alpha 0 first\r\nNode2=10.0.0.2 9002 beta 1 second\r\n";
}

class ServerEditor : public E2eTest {};

bool CloseListMenu(DWORD processId) {
  HWND menu = WaitForPopupMenu(processId, kActionTimeout);
  if (menu) ClosePopupMenu(menu);
  return menu && WaitForNoPopupMenu(processId, kActionTimeout);
}

TEST_F(ServerEditor, FocusLeavingAnEmptyServerAddressComesBack) {
  folder.Write("config.ini", TwoNodes());
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->Focus(Ctl::编辑框_服务器IP));
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器IP, ""));

  // The focus moves on as with the Tab key; the address field loses it.
  window->Focus(Ctl::编辑框_服务器端口);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "服务器IP 不能为空！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));

  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(window->FocusedControl(), window->Control(Ctl::编辑框_服务器IP));
  EXPECT_EQ(window->SelectedRow(), 1);
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器IP), "");
}

TEST_F(ServerEditor, EachEmptyFieldHasItsOwnMessage) {
  folder.Write("config.ini", TwoNodes());
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const struct {
    Ctl field;
    const char* message;
  } fields[] = {{Ctl::编辑框_服务器端口, "服务器端口 不能为空！"}, {Ctl::编辑框_服务器密码, "服务器密码 不能为空！"}};
  for (const auto& f : fields) {
    SCOPED_TRACE(f.message);
    const std::string value = window->Text(f.field);
    ASSERT_TRUE(window->SetText(f.field, ""));
    window->LeaveField(f.field);
    auto box = WaitForMessageBox(run.Id(), kActionTimeout);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, f.message);
    ASSERT_TRUE(PressOk(*box));
    ASSERT_TRUE(window->Sync());
    // The user fills the field in again; it keeps the focus it was given
    // back, and an empty field there would object to the next message.
    ASSERT_TRUE(window->SetText(f.field, value));
    window->LeaveField(f.field);
    ASSERT_TRUE(window->Sync());
    EXPECT_FALSE(ShowsMessageBox(run.Id())) << "a filled field passes without a word";
  }
}

TEST_F(ServerEditor, NewNodeIsListedSelectedAndSaved) {
  folder.Write("config.ini", TwoNodes());
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_EQ(window->Rows().size(), 2u);

  window->Click(Ctl::按钮_新建);
  ASSERT_TRUE(WaitUntil([&] { return window->Rows().size() == 3; }, kActionTimeout));
  EXPECT_EQ(window->Rows()[2], "127.0.0.1:2333");
  EXPECT_EQ(window->SelectedRow(), 2);
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器IP), "127.0.0.1");
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器端口), "2333");

  // The click is posted; a sent ping can be answered before it is handled,
  // so wait for the save itself.
  window->Click(Ctl::按钮_保存);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "NodeList", "Num") == "3"; }, kActionTimeout));
  const std::string config = Config();
  EXPECT_EQ(IniValue(config, "NodeList", "Num"), "3");
  EXPECT_EQ(IniValue(config, "NodeList", "Select node"), "2");
  const std::string added = IniValue(config, "Node", "Node3").value_or("");
  EXPECT_TRUE(added.starts_with("127.0.0.1 2333 ") && added.ends_with(" 0 ")) << added;
  EXPECT_EQ(IniValue(config, "Node", "Node2"), "10.0.0.2 9002 beta 1 second");
}

// Whatever moves the list's selection, the editor shows the selected node,
// so a save never writes one node's fields over another's. A click on the
// selected row shows its stored node again; one beside the rows changes
// nothing.
TEST_F(ServerEditor, TheEditorFollowsEveryMoveOfTheSelection) {
  folder.Write("config.ini", TwoNodes(0));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const struct {
    const char* how;
    std::function<bool()> move;
    int row;
  } moves[] = {
      {"Down", [&] { return window->KeyInList(VK_DOWN); }, 1},
      {"Home", [&] { return window->KeyInList(VK_HOME); }, 0},
      {"End", [&] { return window->KeyInList(VK_END); }, 1},
      {"click", [&] { return window->ClickRow(0); }, 0},
      // A right click also opens the list's menu, which Esc closes.
      {"right click", [&] { return window->ClickRow(1, true) && CloseListMenu(run.Id()); }, 1},
      {"type-ahead", [&] { return window->KeyInList('f', true); }, 0},
  };
  const char* const addresses[] = {"10.0.0.1", "10.0.0.2"};
  for (const auto& m : moves) {
    SCOPED_TRACE(m.how);
    ASSERT_TRUE(m.move() && window->Sync());
    EXPECT_EQ(window->SelectedRow(), m.row);
    EXPECT_EQ(window->Text(Ctl::编辑框_服务器IP), addresses[m.row]);
    window->Click(Ctl::按钮_保存);
    ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "NodeList", "Select node") == std::to_string(m.row); },
                          kActionTimeout));
    EXPECT_EQ(IniValue(Config(), "Node", "Node1"), "10.0.0.1 9001 alpha 0 first");
    EXPECT_EQ(IniValue(Config(), "Node", "Node2"), "10.0.0.2 9002 beta 1 second");
  }

  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器端口, "999"));
  ASSERT_TRUE(window->ClickRow(1) && window->ClickRow(0) && window->Sync());
  EXPECT_EQ(window->Rows()[0], "first(10.0.0.1:999)");
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器端口), "999") << "the edit was kept";
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器端口, "1234"));
  ASSERT_TRUE(window->ClickRow(-1) && window->Sync());
  EXPECT_EQ(window->SelectedRow(), 0);
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器端口), "1234");
  ASSERT_TRUE(window->ClickRow(0) && window->Sync());
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器端口), "999") << "the stored node again";
}

TEST_F(ServerEditor, DeletingEveryNodeDisablesDelete) {
  folder.Write("config.ini", TwoNodes());
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  for (std::size_t left : {1u, 0u}) {
    EXPECT_TRUE(window->Enabled(Ctl::按钮_删除));
    window->Click(Ctl::按钮_删除);
    ASSERT_TRUE(WaitUntil([&] { return window->Rows().size() == left; }, kActionTimeout));
  }
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(window->Enabled(Ctl::按钮_删除));
}

}  // namespace
}  // namespace e2e
