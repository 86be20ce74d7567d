#include <gtest/gtest.h>

#include "app/launch_origin.h"
#include "app/startup.h"
#include "context/tray_menu_layout.h"
#include "context/version.h"
#include "app/window_handlers.h"
#include "fakes/fake_platform.h"

namespace {

TEST(LaunchOrigin, ParentMustBeTheShell) {
  const std::vector<ProcessEntry> processes{
      {4, "System", 0}, {100, "EXPLORER.EXE", 1}, {200, "cmd.exe", 100},
      {300, "Corvane.EXE", 100}, {301, "corvane.exe", 200}, {400, "task.exe", 200}};
  EXPECT_TRUE(LaunchedFromShell(processes, "corvane.exe"));   // first match wins, any case
  EXPECT_FALSE(LaunchedFromShell(processes, "task.exe"));     // started by cmd.exe
  EXPECT_FALSE(LaunchedFromShell(processes, "missing.exe"));  // no match: parent 0
  EXPECT_FALSE(LaunchedFromShell({{5, "corvane.exe", 0}, {0, "explorer.exe", 0}}, "corvane.exe"));
}

TEST(EnginePath, DirectoryEndsWithTheLastBackslash) {
  EXPECT_EQ(EngineDirectoryOf("C:\\brook\\brook.exe"), "C:\\brook\\");
  EXPECT_EQ(EngineDirectoryOf("brook.exe"), "");
  EXPECT_EQ(EngineDirectoryOf(""), "");
  // "\x95\x5C" is one double-byte character whose second byte looks like "\".
  EXPECT_EQ(EngineDirectoryOf("D:\\\x95\x5C\\brook.exe"), "D:\\\x95\x5C\\");
  EXPECT_EQ(EngineDirectoryOf("D:\\a\x95\x5C" "b.exe"), "D:\\");
}

TEST(EngineFile, BrowseAndDropKeepThePathAndItsFolder) {
  TestApp t;
  t.Load();
  BrowseForEngine(t.app);  // cancelled: nothing changes
  EXPECT_EQ(t.form.Text(Ctl::编辑框_文件位置), "");
  EXPECT_EQ(t.dialogs.askedName, "brook.exe");
  EXPECT_EQ(t.dialogs.askedFolder, t.location.directory);

  t.dialogs.answer = "C:\\tools\\brook.exe";
  BrowseForEngine(t.app);
  EXPECT_EQ(t.app.engineDirectory, "C:\\tools\\");
  EXPECT_NE(t.ConfigText().find("File=C:\\tools\\brook.exe"), std::string::npos);

  OnFilesDropped(t.app, {"D:\\x\\Brook.exe", "E:\\y\\brook.exe"});
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_EQ(t.form.messages[0].text,
            "拖放文件只支持文件名：brook.exe ，当前拖放的文件名为：Brook.exe，请确保是 Brook命令行版客户端"
            "(不带钥匙图标)，如果是 请重命名！");
  EXPECT_EQ(t.form.Text(Ctl::编辑框_文件位置), "E:\\y\\brook.exe");
  EXPECT_EQ(t.app.engineDirectory, "E:\\y\\");
}

TEST(NodeFields, EmptyFieldIsRefusedAndFocusReturns) {
  TestApp t;
  t.WriteConfig("[NodeList]\r\nNum=2\r\nSelect node=1\r\n[Node]\r\nNode1=a 1 p 0 \r\nNode2=b 2 q 0 \r\n");
  t.Load();
  t.form.Type(Ctl::编辑框_服务器IP, "");
  t.form.SelectRow(Ctl::超级列表框_服务器列表, -1);
  OnControlEvent(t.app, Ctl::编辑框_服务器IP, ControlEvent::LostFocus);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "服务器IP 不能为空！");
  EXPECT_EQ(t.form.focused, Ctl::编辑框_服务器IP);
  EXPECT_EQ(t.form.SelectedRow(Ctl::超级列表框_服务器列表), 1);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器IP), "");  // not repaired

  OnControlEvent(t.app, Ctl::编辑框_服务器端口, ControlEvent::LostFocus);  // not empty: silent
  t.form.SetComboSelection(Ctl::组合框_服务器协议, -1);
  OnControlEvent(t.app, Ctl::组合框_服务器协议, ControlEvent::ItemChosen);
  ASSERT_EQ(t.form.messages.size(), 2u);
  EXPECT_EQ(t.form.messages[1].text, "服务器协议 不能为空！");
}

TEST(Window, PasswordSwitchAndServerEditor) {
  TestApp t;
  t.Load();
  EXPECT_TRUE(t.form.PasswordEntry(Ctl::编辑框_服务器密码));
  t.form.SetChecked(Ctl::选择框_密码明文, true);
  OnControlEvent(t.app, Ctl::选择框_密码明文, ControlEvent::Clicked);
  EXPECT_FALSE(t.form.PasswordEntry(Ctl::编辑框_服务器密码));
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器密码), "corvane");

  t.form.SetCurrentPage(Ctl::选择夹1, 1);
  t.form.SetWindowVisible(true);
  OnMenuCommand(t.app, menu::编辑服务器);  // visible: left alone
  EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 1);
  t.form.SetWindowVisible(false);
  OnMenuCommand(t.app, menu::编辑服务器);
  EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 0);
  EXPECT_TRUE(t.form.WindowVisible());
}

// Copies share the system's named events: the one that creates the event
// runs; one that finds it made, or may not open it (the first copy runs
// elevated), stops before it touches anything.
TEST(Startup, OnlyTheCopyThatCreatesTheEventRuns) {
  TestApp first, second, third;
  second.instance.events = third.instance.events = first.instance.events;
  EXPECT_EQ(RunStartupSequence(first.app), StartupResult::Continue);
  for (TestApp* other : {&second, &third}) {
    if (other == &third) {
      first.instance.events->held.clear();
      first.instance.events->denied.insert(kSingleInstanceEvent);
    }
    EXPECT_EQ(RunStartupSequence(other->app), StartupResult::ExitNow);
    ASSERT_EQ(other->form.messages.size(), 1u);
    EXPECT_EQ(other->form.messages[0].text, "不能重复运行Corvane！");
    EXPECT_EQ(other->form.messages[0].title, "错误");
    EXPECT_TRUE(other->folder.Names().empty());  // no config.ini written
  }
}

TEST(Startup, TitleStatusAndWindowByParent) {
  TestApp t;
  t.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 10}};
  EXPECT_EQ(RunStartupSequence(t.app), StartupResult::Continue);
  EXPECT_EQ(t.form.Title(), "Corvane    v1.0.10");
  EXPECT_EQ(t.form.StatusText(0), " 当前版本：v1.0.10");
  EXPECT_EQ(t.instance.claimed, std::vector<std::string>{"D4dA8UYsda4FGkashdda545"});
  EXPECT_TRUE(t.form.WindowVisible());
  EXPECT_EQ(t.ConfigText(), "[BasisConfig]\r\nFile=\r\n");

  TestApp quiet;
  quiet.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 30}};
  RunStartupSequence(quiet.app);
  EXPECT_FALSE(quiet.form.WindowVisible());
}

TEST(Exit, SavesBothPartsThenDestroysTheWindow) {
  TestApp t;
  RunStartupSequence(t.app);
  t.form.Type(Ctl::编辑框_账号自检设置_超时时间, "30");
  OnMenuCommand(t.app, menu::退出);
  EXPECT_TRUE(t.form.destroyed);
  const std::string text = t.ConfigText();
  EXPECT_NE(text.find("Node1=127.0.0.1 2333 corvane 0 \r\n"), std::string::npos);
  EXPECT_NE(text.find("Timeout=30\r\n"), std::string::npos);
}

}  // namespace
