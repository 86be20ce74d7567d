// Share links through the real clipboard: a generated link is what another
// user pastes, and importing it adds the node to config.ini.
#include "driver/clipboard.h"
#include "e2e_test.h"

namespace e2e {
namespace {

class ShareLinks : public E2eTest {
 protected:
  ShareLinks() {
    folder.Write("config.ini", "[BasisConfig]\r\nFile=" + folder.InstallEngine() + "\r\nLocal port=" + LocalPort() +
                                   "\r\nProxy Mode=0\r\n[NodeList]\r\nNum=1\r\nSelect node=0\r\n"
                                   "[Node]\r\nNode1=127.0.0.1 2333 pa@ss%40 1 mine\r\n");
  }
  std::string Node(int n) const { return IniValue(Config(), "Node", "Node" + std::to_string(n)).value_or(""); }
};

TEST_F(ShareLinks, AGeneratedLinkGoesToTheClipboardAndImportsAsANewNode) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(SetClipboardText("left over"));

  window->Click(Ctl::按钮_生成分享链接);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Brook账号分享链接已复制到剪辑板中！");
  EXPECT_EQ(box->title, "提示");
  ASSERT_TRUE(PressOk(*box));
  // "%" is not escaped, "@" is.
  EXPECT_EQ(ClipboardText(), std::optional<std::string>("brook://stream%20127.0.0.1%3A2333%20pa%40ss%40"));

  window->Click(Ctl::按钮_导入分享链接);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "NodeList", "Num") == "2"; }, kActionTimeout)) << Config();
  EXPECT_EQ(Node(1), "127.0.0.1 2333 pa@ss%40 1 mine");
  EXPECT_EQ(Node(2), "127.0.0.1 2333 pa@ss@ 1 ");  // the empty remark after the last space
  EXPECT_EQ(IniValue(Config(), "NodeList", "Select node"), "1");
  EXPECT_EQ(window->Rows().size(), 2u);
  EXPECT_EQ(window->SelectedRow(), 1);
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
}

TEST_F(ShareLinks, ImportTakesEveryValidLinkOfPastedTextAndNothingElse) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(SetClipboardText("brook://default%2010.0.0.1%3A80%20one\r\n"
                               "Brook://default%2010.0.0.2%3A80%20skipped\r\n"
                               "brook://vpn%20[::1]%3A80%20skipped\r\n"
                               "\x01\x02 %\r\n"
                               "brook://vpn%2010.0.0.3%3A443%20th ree\r\n"));
  window->Click(Ctl::按钮_导入分享链接);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "NodeList", "Num") == "3"; }, kActionTimeout)) << Config();
  EXPECT_EQ(Node(2), "10.0.0.1 80 one 0 ");
  // The spaces of pasted text are removed before the links are read.
  EXPECT_EQ(Node(3), "10.0.0.3 443 three 2 ");
  EXPECT_EQ(window->Rows().size(), 3u);
}

TEST_F(ShareLinks, AClickMadeWhileAnImportRunsAddsNothing) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  std::string links;
  for (int i = 1; i <= 300; ++i)
    links += "brook://default%2010.1." + std::to_string(i / 100) + "." + std::to_string(i % 100) + "%3A80%20p\r\n";
  ASSERT_TRUE(SetClipboardText(links));

  // Both clicks are queued before the program takes the first.
  window->Click(Ctl::按钮_导入分享链接);
  window->Click(Ctl::按钮_导入分享链接);
  ASSERT_TRUE(WaitUntil([&] { return IniValue(Config(), "NodeList", "Num") == "301"; }, kActionTimeout)) << Config();
  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(IniValue(Config(), "NodeList", "Num"), "301");
  EXPECT_EQ(IniValue(Config(), "NodeList", "Select node"), "300");
  EXPECT_EQ(Node(301), "10.1.3.0 80 p 0 ");
  EXPECT_EQ(window->Rows().size(), 301u);
  EXPECT_EQ(window->SelectedRow(), 300);
}

}  // namespace
}  // namespace e2e
