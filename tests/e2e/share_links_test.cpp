// Share links through the real clipboard: a generated link is what another
// user pastes, and importing it adds the node to config.ini. The QR code
// window shows the same link to a phone's camera.
#include "app/win32/share_qr_window.h"
#include "context/tray_menu_layout.h"
#include "driver/clipboard.h"
#include "driver/screenshot.h"
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

// An independent decoder (zbarimg) reads, from a picture of the window,
// exactly the bytes "生成分享链接" puts on the clipboard.
TEST_F(ShareLinks, TheQrCodeWindowShowsTheCopiedLinkToAScanner) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const auto qrWindows = [&] {
    int count = 0;
    for (HWND w : TopLevelWindowsOf(run.Id())) count += IsWindowVisible(w) && TextOf(w) == "分享二维码";
    return count;
  };

  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器密码, ""));
  window->Command(menu::显示分享二维码);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "服务器密码 不能为空！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_EQ(qrWindows(), 0);

  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器IP, "[::1]"));
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器密码, "p@ss%\"中"));
  window->Command(menu::生成分享链接);
  box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box && PressOk(*box));
  const std::optional<std::string> link = ClipboardText();
  ASSERT_EQ(link, "brook://stream%20%5B%3A%3A1%5D%3A2333%20p%40ss%\"中");
  ASSERT_TRUE(SetClipboardText("left over"));

  window->Command(menu::显示分享二维码);
  HWND qr = WaitForWindowTitled(run.Id(), "分享二维码", kActionTimeout);
  ASSERT_TRUE(qr);
  EXPECT_EQ(TextOf(FindDescendant(qr, kQrLinkEditId)), *link);
  ASSERT_TRUE(window->Sync());
  Sleep(300);  // Wine hands the drawing to the X server on its own time
  EXPECT_EQ(ScanQrCode("share-qr-code", qr, kActionTimeout), link);
  EXPECT_EQ(ClipboardText(), "left over");
  EXPECT_EQ(IniValue(Config(), "Node", "Node1"), "127.0.0.1 2333 pa@ss%40 1 mine");

  // Chosen again: the same window, showing the node as it is now.
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器密码, "again"));
  window->Command(menu::显示分享二维码);
  ASSERT_TRUE(window->Sync());
  EXPECT_TRUE(IsWindow(qr));
  EXPECT_EQ(qrWindows(), 1);
  const std::string again = "brook://stream%20%5B%3A%3A1%5D%3A2333%20again";
  EXPECT_EQ(TextOf(FindDescendant(qr, kQrLinkEditId)), again);

  PostMessageA(FindDescendant(qr, kQrCopyButtonId), BM_CLICK, 0, 0);
  box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Brook账号分享链接已复制到剪辑板中！");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_EQ(ClipboardText(), again);

  PostMessageA(FindDescendant(qr, kQrLinkEditId), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(qr); }, kActionTimeout));
}

// A link that takes a version-40 code: the window still fits the work area
// of its monitor (the test screen is 800 pixels high), with smaller modules.
TEST_F(ShareLinks, TheQrCodeWindowOfTheLongestLinkFitsTheScreen) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器密码, std::string(2250, 'p')));
  window->Command(menu::显示分享二维码);
  HWND qr = WaitForWindowTitled(run.Id(), "分享二维码", kActionTimeout);
  ASSERT_TRUE(qr);
  ASSERT_TRUE(window->Sync());
  RECT frame{};
  GetWindowRect(qr, &frame);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(qr, MONITOR_DEFAULTTONEAREST), &monitor));
  const RECT& work = monitor.rcWork;
  EXPECT_TRUE(frame.left >= work.left && frame.top >= work.top && frame.right <= work.right &&
              frame.bottom <= work.bottom)
      << frame.left << "," << frame.top << "-" << frame.right << "," << frame.bottom << " in " << work.left << ","
      << work.top << "-" << work.right << "," << work.bottom;
}

TEST_F(ShareLinks, AChineseLinkIsOnTheClipboardAsUnicodeTooAndAHeldClipboardIsReported) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  // "丂" is GBK 81 40: its second byte looks like "@" and stays as it is.
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器密码, "\x81\x40\xD6\xD0@"));
  window->Click(Ctl::按钮_生成分享链接);
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Brook账号分享链接已复制到剪辑板中！");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_EQ(ClipboardText(), std::optional<std::string>("brook://stream%20127.0.0.1%3A2333%20\x81\x40\xD6\xD0%40"));
  EXPECT_EQ(ClipboardUnicodeText(), std::optional<std::wstring>(L"brook://stream%20127.0.0.1%3A2333%20\u4E02\u4E2D%40"));

  // Another program holds the clipboard open: no confirmation of a copy
  // that did not happen.
  ASSERT_TRUE(OpenClipboard(nullptr));
  window->Click(Ctl::按钮_生成分享链接);
  box = WaitForMessageBox(run.Id(), kActionTimeout);
  CloseClipboard();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "Brook账号分享链接复制到剪辑板失败，请重试！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));
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
