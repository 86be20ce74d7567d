// The server editor on page 0: leaving an emptied node field is refused on
// the spot (a message, the current node's row selected again, the focus back
// in the field), and new nodes join the list.
#include "e2e_test.h"

namespace e2e {
namespace {

constexpr char kTwoNodes[] =
    "[BasisConfig]\r\nFile=\r\n"
    "[NodeList]\r\nNum=2\r\nSelect node=1\r\n"
    "[Node]\r\nNode1=10.0.0.1 9001 alpha 0 first\r\nNode2=10.0.0.2 9002 beta 1 second\r\n";

class ServerEditor : public E2eTest {};

TEST_F(ServerEditor, FocusLeavingAnEmptyServerAddressComesBack) {
  folder.Write("config.ini", kTwoNodes);
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
  folder.Write("config.ini", kTwoNodes);
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
  folder.Write("config.ini", kTwoNodes);
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

}  // namespace
}  // namespace e2e
