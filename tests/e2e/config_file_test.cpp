// config.ini as other programs leave it: held open by another program, a
// folder in the way of the save, a UTF-8 file from Notepad, crafted numbers.
#include <windows.h>

#include "context/tray_menu_layout.h"
#include "e2e_test.h"

namespace e2e {
namespace {

constexpr char kOneNode[] =
    "[BasisConfig]\r\nFile=C:\\brook\\brook.exe\r\n"
    "[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
    "[Node]\r\nNode1=10.0.0.1 9001 alpha 0 first\r\n";

class ConfigFile : public E2eTest {
 protected:
  std::optional<CorvaneWindow> StartWith(const std::string& config) {
    folder.Write("config.ini", config);
    run.emplace(ProgramRun::StartFromShell(exe));
    return CorvaneWindow::WaitFor(*run, kStartTimeout);
  }
  bool Saved(const std::string& remark) const {
    return IniValue(Config(), "Node", "Node1") == "10.0.0.1 9001 alpha 0 " + remark;
  }
  std::optional<ProgramRun> run;
};

TEST_F(ConfigFile, AFileHeldOpenWithSharingTakesTheSave) {
  auto window = StartWith(kOneNode);
  ASSERT_TRUE(window);
  // An editor or a sync tool: reads and writes shared, deleting not.
  HANDLE holder = CreateFileA(folder.PathOf("config.ini").c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器备注, "held"));
  window->Click(Ctl::按钮_保存);
  EXPECT_TRUE(WaitUntil([&] { return Saved("held"); }, kActionTimeout)) << Config();
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(ShowsMessageBox(run->Id()));
  EXPECT_FALSE(folder.Exists("config.ini.new"));
  CloseHandle(holder);
}

TEST_F(ConfigFile, AFailedSaveIsToldAndTheExitKeepsTheProgramRunning) {
  auto window = StartWith(kOneNode);
  ASSERT_TRUE(window);
  // Nothing can be written: a folder in the way of a new copy, and a
  // program that holds the file without write sharing. (Wine runs as root
  // here, who writes a read-only file.)
  const std::string config = folder.PathOf("config.ini");
  ASSERT_TRUE(CreateDirectoryA(folder.PathOf("config.ini.new").c_str(), nullptr));
  HANDLE holder = CreateFileA(config.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器备注, "kept"));

  window->Command(menu::退出);
  auto box = WaitForMessageBox(run->Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "错误");
  const std::string named = "保存配置失败！\r\n文件：" + config + "\r\n原因：";
  EXPECT_TRUE(box->text.starts_with(named) && box->text.size() > named.size() + 2) << box->text;
  ASSERT_TRUE(PressButton(*box, IDNO));
  ASSERT_TRUE(window->Sync());
  EXPECT_TRUE(run->Running());
  EXPECT_EQ(window->Text(Ctl::编辑框_服务器备注), "kept");

  // The user clears the way and chooses "退出" again.
  CloseHandle(holder);
  ASSERT_TRUE(RemoveDirectoryA(folder.PathOf("config.ini.new").c_str()));
  window->Command(menu::退出);
  EXPECT_EQ(run->WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  EXPECT_TRUE(Saved("kept")) << Config();
}

TEST_F(ConfigFile, AFileHeldWithoutSharingAtTheStartKeepsItsNodes) {
  const std::string nodes = std::string(kOneNode) + "Node2=10.0.0.2 9002 beta 1 second\r\n";
  folder.Write("config.ini", nodes);
  // A backup or sync tool at logon: nothing shared, for longer than a save waits.
  HANDLE holder = CreateFileA(folder.PathOf("config.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  run.emplace(ProgramRun::StartFromShell(exe));
  auto box = WaitForMessageBox(run->Id(), kStartTimeout);
  CloseHandle(holder);
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->text.starts_with("读取配置失败！")) << box->text;
  ASSERT_TRUE(PressOk(*box));
  auto window = CorvaneWindow::WaitFor(*run, kStartTimeout);
  ASSERT_TRUE(window);

  window->Click(Ctl::按钮_保存);
  box = WaitForMessageBox(run->Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_TRUE(box->text.starts_with("保存配置失败！")) << box->text;
  ASSERT_TRUE(PressOk(*box));
  window->Command(menu::退出);
  box = WaitForMessageBox(run->Id(), kActionTimeout);
  ASSERT_TRUE(box);
  ASSERT_TRUE(PressOk(*box));
  EXPECT_EQ(run->WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  EXPECT_EQ(Config(), nodes);
}

TEST_F(ConfigFile, AUtf8FileWithoutAMarkKeepsEveryNodeLine) {
  // Notepad's default: UTF-8, no mark; remarks of one Chinese character each.
  const std::string nodes =
      "[BasisConfig]\r\nFile=\r\n[NodeList]\r\nNum=3\r\nSelect node=0\r\n[Node]\r\n"
      "Node1=10.0.0.1 9001 alpha 0 \xE4\xB8\x80\r\nNode2=10.0.0.2 9002 beta 0 \xE4\xBA\x8C\r\n"
      "Node3=10.0.0.3 9003 gamma 0 \xE4\xB8\x89\r\n";
  auto window = StartWith(nodes);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Rows(), (std::vector<std::string>{"一(10.0.0.1:9001)", "二(10.0.0.2:9002)", "三(10.0.0.3:9003)"}));
  ASSERT_TRUE(window->KeyInList(VK_DOWN) && window->Sync());
  ASSERT_TRUE(window->KeyInList(VK_DOWN) && window->Sync());
  ASSERT_EQ(window->SelectedRow(), 2);
  window->Command(menu::退出);
  ASSERT_EQ(run->WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  const std::string config = Config();
  const std::string nodeLines = nodes.substr(nodes.find("Node1="));
  EXPECT_NE(config.find(nodeLines), std::string::npos) << config;
  EXPECT_FALSE(config.starts_with("\xEF\xBB\xBF")) << config;
}

TEST_F(ConfigFile, AUtf8FileWithAMarkIsReadAndStaysOneFile) {
  auto window = StartWith("\xEF\xBB\xBF" + std::string(kOneNode));
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Text(Ctl::编辑框_文件位置), "C:\\brook\\brook.exe");
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器备注, "utf8"));
  window->Click(Ctl::按钮_保存);
  ASSERT_TRUE(WaitUntil([&] { return Saved("utf8"); }, kActionTimeout)) << Config();
  const std::string config = Config();
  EXPECT_TRUE(config.starts_with("\xEF\xBB\xBF[BasisConfig]\r\n")) << config;
  EXPECT_EQ(config.find("[BasisConfig]"), config.rfind("[BasisConfig]")) << config;
}

TEST_F(ConfigFile, CraftedNodeNumbersDoNotHoldUpTheStart) {
  auto window = StartWith(
      "[BasisConfig]\r\nFile=\r\n[NodeList]\r\nNum=2000000000\r\nSelect node=0\r\n"
      "[Node]\r\nNode1=10.0.0.1 9001 alpha 0 first\r\nNode999999999=10.0.0.9 9009 omega 0 last\r\n");
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Rows(), (std::vector<std::string>{"first(10.0.0.1:9001)", "last(10.0.0.9:9009)"}));
  // Counting up to the last key kept the processor busy for many seconds.
  FILETIME created, ended, kernel, user;
  ASSERT_TRUE(GetProcessTimes(run->Handle(), &created, &ended, &kernel, &user));
  const ULARGE_INTEGER busy{{user.dwLowDateTime, user.dwHighDateTime}};
  EXPECT_LT(busy.QuadPart / 10000, 5000u) << "milliseconds of processor time";
  window->Command(menu::退出);
  EXPECT_EQ(run->WaitForExit(5000), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace e2e
