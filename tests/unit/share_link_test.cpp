#include <gtest/gtest.h>

#include <random>
#include <string>

#include "context/tray_menu_layout.h"
#include "ini/ini_document.h"
#include "links/share_link_codec.h"
#include "links/share_links.h"
#include "links/share_qr_code.h"
#include "fakes/fake_platform.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;

TEST(ShareLinkEscaping, EscapesTheNineteenCharactersAndUnescapesOnlyTheirExactCodes) {
  const std::string table = " !#$&'()*+,/:;=?@[]";
  const std::string codes = "%20%21%23%24%26%27%28%29%2A%2B%2C%2F%3A%3B%3D%3F%40%5B%5D";
  EXPECT_EQ(EscapeLinkBody(table), codes);
  EXPECT_EQ(UnescapeLinkBody(codes), table);
  EXPECT_EQ(EscapeLinkBody("aZ09-._~%\"<>\\^`{|}中文"), "aZ09-._~%\"<>\\^`{|}中文");
  EXPECT_EQ(UnescapeLinkBody("a%3ab%2fc%%2%25%40"), "a%3ab%2fc%%2%25@");
  EXPECT_EQ(UnescapeLinkBody("%%3A3A"), "%:3A");  // one replacement, not two
}

TEST(ShareLinkEscaping, ChineseCharactersStayWholeAndOldLinksStillImport) {
  const std::string trails = "\x81\x40\x8B\x5B\x8B\x5D@";  // trail bytes "@", "[", "]", then a real "@"
  EXPECT_EQ(EscapeLinkBody(trails), "\x81\x40\x8B\x5B\x8B\x5D%40");
  EXPECT_EQ(UnescapeLinkBody(EscapeLinkBody(trails)), trails);
  // Earlier versions escaped the trail bytes too; such a link gives the same password.
  const auto old = ParseShareLink("brook://default%20h%3A1%20\x81%40\x8B%5B\x8B%5D%40");
  ASSERT_TRUE(old);
  EXPECT_EQ(old->password, trails);
  EXPECT_EQ(ShareLinkFor(*old), "brook://default%20h%3A1%20" + EscapeLinkBody(trails));
}

TEST(ShareLinkParsing, AcceptsOnlyWellFormedLinks) {
  const auto node = ParseShareLink("brook://stream%201.2.3.4%3A443%20pw");
  ASSERT_TRUE(node);
  EXPECT_EQ(node->address, "1.2.3.4");
  EXPECT_EQ(node->port, "443");
  EXPECT_EQ(node->password, "pw");
  EXPECT_EQ(node->protocol, 1);
  EXPECT_EQ(ParseShareLink("brook://vpn%20h%3A1%20p")->protocol, 2);

  for (const char* bad : {"Brook://default%20h%3A1%20p", "brook:/default%20h%3A1%20p",
                          "brook://Default%20h%3A1%20p", "brook://socks5%20h%3A1%20p",
                          "brook://default%20h%3A1%20p%20q", "brook://default%20h%3A1",
                          "brook://default%20%20h%3A1%20p", "brook://default%20h%3a1%20p",
                          "brook://default%20h%20p", "brook://default%20::1%3A1%20p", "brook://", ""})
    EXPECT_FALSE(ParseShareLink(bad)) << bad;

  // An empty last piece does not count, an empty piece in between does.
  EXPECT_TRUE(ParseShareLink("brook://default%20h%3A1%20p%20"));
  EXPECT_EQ(ParseShareLink("brook://default%20%3A1%20p")->address, "");
  EXPECT_FALSE(ParseShareLink("brook://default%20h%3A%20p"));
}

TEST(ShareLinkParsing, LinesEndAtCrLfOnly) {
  using V = std::vector<std::string_view>;
  EXPECT_EQ(LinkLines("a\r\nb\r\n"), (V{"a", "b"}));
  EXPECT_EQ(LinkLines("a\r\n\r\nb"), (V{"a", "", "b"}));
  EXPECT_EQ(LinkLines("a\nb\rc"), (V{"a\nb\rc"}));
  EXPECT_EQ(WithoutSpaces("a b\xA1\xA1" "c\xB0\xA1\xA1\xC0"), "abc\xB0\xA1\xA1\xC0");
}

struct ShareLinksTest : ::testing::Test {
  ShareLinksTest() {
    t.WriteConfig("[NodeList]\r\nNum=1\r\n[Node]\r\nNode1=10.0.0.1 80 first 0 one\r\n");
    t.Load();
    t.form.SetText(Ctl::编辑框_文件位置, "C:\\brook\\brook.exe");
  }
  void EditNode(const std::string& address, const std::string& port, const std::string& password, int protocol) {
    t.form.SetText(Ctl::编辑框_服务器IP, address);
    t.form.SetText(Ctl::编辑框_服务器端口, port);
    t.form.SetText(Ctl::编辑框_服务器密码, password);
    t.form.SetComboSelection(Ctl::组合框_服务器协议, protocol);
  }
  std::string Generated(const std::string& address, const std::string& port, const std::string& password,
                        int protocol) {
    EditNode(address, port, password, protocol);
    GenerateShareLink(t.app);
    return t.diag.clipboard.text;
  }
  void Import(const std::string& clipboard) {
    t.diag.clipboard.text = clipboard;
    ImportShareLinks(t.app);
  }
  std::size_t Nodes() const { return t.app.nodes.lines.size(); }

  TestApp t;
};

TEST_F(ShareLinksTest, GeneratesTheLinkOfTheEditedNode) {
  const std::string link = Generated("127.0.0.1", "2333", "p@ss", 0);
  EXPECT_EQ(link, "brook://default%20127.0.0.1%3A2333%20p%40ss");
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "Brook账号分享链接已复制到剪辑板中！");
  EXPECT_EQ(t.form.messages[0].title, "提示");

  EXPECT_TRUE(Generated("h", "1", "p", 1).starts_with("brook://stream%20"));
  EXPECT_TRUE(Generated("h", "1", "p", 2).starts_with("brook://vpn%20"));
  EXPECT_EQ(Generated("h", "1", "100%40", 0), "brook://default%20h%3A1%20100%40");
}

TEST_F(ShareLinksTest, AClipboardThatRefusesTheLinkIsReportedNotConfirmed) {
  t.diag.clipboard.text = "before";
  t.diag.clipboard.writeFails = true;
  EXPECT_EQ(Generated("h", "1", "p", 0), "before");
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "Brook账号分享链接复制到剪辑板失败，请重试！");
  EXPECT_EQ(t.form.messages[0].title, "错误");
}

TEST_F(ShareLinksTest, GenerationStopsAtTheFirstEmptyFieldInOrder) {
  const Ctl fields[] = {Ctl::编辑框_文件位置, Ctl::编辑框_本地端口, Ctl::编辑框_服务器IP, Ctl::编辑框_服务器端口,
                        Ctl::编辑框_服务器密码};
  const char* messages[] = {"文件位置 不能为空！", "本地端口 不能为空！", "服务器IP 不能为空！",
                            "服务器端口 不能为空！", "服务器密码 不能为空！", "服务器协议 不能为空！"};
  EditNode("", "", "", -1);
  t.form.SetText(Ctl::编辑框_文件位置, "");
  t.form.SetText(Ctl::编辑框_本地端口, "");
  for (int i = 0; i < 6; ++i) {
    GenerateShareLink(t.app);
    EXPECT_EQ(t.form.messages.back().text, messages[i]);
    EXPECT_EQ(t.form.messages.back().title, "错误");
    if (i < 5) t.form.SetText(fields[i], "x");  // fill it: the next one is reported
  }
  EXPECT_EQ(t.diag.clipboard.writes, 0);
}

TEST_F(ShareLinksTest, AnImportedLinkBecomesASavedNodeWithTheSameValues) {
  const std::string link = Generated("127.0.0.1", "2333", "secret", 1);
  t.form.messages.clear();
  Import(link);
  ASSERT_EQ(Nodes(), 2u);
  EXPECT_EQ(t.app.nodes.lines[1], "127.0.0.1 2333 secret 1 ");
  EXPECT_EQ(t.form.Rows().back(), "127.0.0.1:2333");
  EXPECT_EQ(t.form.SelectedRow(kList), 1);
  EXPECT_EQ(t.form.ComboSelection(Ctl::组合框_服务器协议), 1);
  EXPECT_TRUE(t.form.messages.empty());  // no summary
  const IniDocument saved = IniDocument::Parse(t.ConfigText());
  EXPECT_EQ(saved.Get("NodeList", "Num", ""), "2");
  EXPECT_EQ(saved.Get("Node", "Node2", ""), "127.0.0.1 2333 secret 1");
  EXPECT_EQ(saved.Get("Node", "Node1", ""), "10.0.0.1 80 first 0 one");
}

TEST_F(ShareLinksTest, LinksThatCannotCarryTheirNodeAreSkipped) {
  Import(Generated("h", "1", "two words", 0));    // the password's space splits the body
  Import(Generated("2001:db8::1", "443", "p", 0));  // the address's colons split the server
  Import("Brook://default%20h%3A1%20p");
  EXPECT_EQ(Nodes(), 1u);
  Import(Generated("h", "1", "a%40b", 0));  // the literal escape comes back unescaped
  ASSERT_EQ(Nodes(), 2u);
  EXPECT_EQ(t.form.Text(Ctl::编辑框_服务器密码), "a@b");
}

TEST_F(ShareLinksTest, EachCrLfLineIsOneLinkButLfAloneIsNot) {
  Import("brook://default%20a%3A1%20p\r\nbrook://vpn%20b%3A2%20q\r\n");
  ASSERT_EQ(Nodes(), 3u);
  EXPECT_EQ(t.app.nodes.lines[1], "a 1 p 0 ");
  EXPECT_EQ(t.app.nodes.lines[2], "b 2 q 2 ");
  EXPECT_NE(t.ConfigText().find("Node3=b 2 q 2"), std::string::npos);

  Import("brook://default%20c%3A3%20p\nbrook://default%20d%3A4%20q");
  EXPECT_EQ(Nodes(), 3u);
}

TEST_F(ShareLinksTest, SpacesOnTheClipboardAreIgnoredAndOnlySpacesCountAsEmpty) {
  Import(" brook://default%20h%3A1\xA1\xA1%20p ");
  ASSERT_EQ(Nodes(), 2u);
  EXPECT_EQ(t.app.nodes.lines[1], "h 1 p 0 ");
  for (const char* empty : {"", "   ", "\xA1\xA1 \xA1\xA1"}) {
    t.form.messages.clear();
    Import(empty);
    ASSERT_EQ(t.form.messages.size(), 1u);
    EXPECT_EQ(t.form.messages[0].text, "剪辑板(剪切板)为空！");
    EXPECT_EQ(t.form.messages[0].title, "错误");
  }
  EXPECT_EQ(Nodes(), 2u);
  EXPECT_EQ(RunShareLinkCodec(t.app, LinkCodecMode::Import, ""), "");
  EXPECT_EQ(t.form.messages.back().text, "导入分享链接 不能为空！");
}

TEST_F(ShareLinksTest, AnImportShowsTheHiddenWindowOnItsFirstPage) {
  t.form.SetWindowVisible(false);
  t.form.SetCurrentPage(Ctl::选择夹1, 1);
  Import("no links here");
  EXPECT_FALSE(t.form.WindowVisible());
  Import("brook://default%20h%3A1%20p");
  EXPECT_TRUE(t.form.WindowVisible());
  EXPECT_EQ(t.form.CurrentPage(Ctl::选择夹1), 0);
}

TEST_F(ShareLinksTest, TheButtonsAndTrayItemsRunTheCodec) {
  EditNode("h", "7", "p", 0);
  t.form.SetText(Ctl::编辑框_本地端口, "2080");
  t.form.onEvent(Ctl::按钮_生成分享链接, ControlEvent::Clicked);
  EXPECT_EQ(t.diag.clipboard.text, "brook://default%20h%3A7%20p");
  OnMenuCommand(t.app, menu::导入分享链接);
  EXPECT_EQ(Nodes(), 2u);
  t.diag.clipboard.text = "brook://vpn%20v%3A9%20p";
  t.form.onEvent(Ctl::按钮_导入分享链接, ControlEvent::Clicked);
  EXPECT_EQ(Nodes(), 3u);
  EditNode("x", "8", "p", 2);
  OnMenuCommand(t.app, menu::生成分享链接);
  EXPECT_EQ(t.diag.clipboard.text, "brook://vpn%20x%3A8%20p");
}

// What a hostile clipboard may hold; none of it may crash the import, add a
// node that is not a valid link, or leave config.ini unreadable.
TEST_F(ShareLinksTest, GarbageOnTheClipboardAddsNothingAndKeepsTheFileWellFormed) {
  std::mt19937 random(42);
  std::string megabyte(1 << 20, '\0');
  for (char& c : megabyte) c = static_cast<char>(random());
  std::string manyLinks;
  for (int i = 0; i < 10000; ++i) manyLinks += "brook://default%20h" + std::to_string(i) + "%3A1\r\n";
  const std::string hostile[] = {
      megabyte,
      manyLinks,
      std::string("brook://default%20h%3A1%20p\0q", 29),
      "%", "%%%%", "brook://%", "brook://%2", "brook://default%2", "brook://default%20h%3",
      "\xFF\xFE\x81\r\n\x81\x40" "brook://",
      "brook://default%20h%3A1%20p%0D%0A[Node]%0D%0ANode1%3Dx",
  };
  for (const std::string& text : hostile) Import(text);

  // Two of them hold links that pass every test: the text before the NUL,
  // and the last, whose CR LF are escapes the table does not know.
  ASSERT_EQ(Nodes(), 3u);
  const IniDocument saved = IniDocument::Parse(t.ConfigText());
  EXPECT_EQ(saved.Get("NodeList", "Num", ""), "3");
  EXPECT_EQ(saved.Keys("Node"), (std::vector<std::string>{"Node1", "Node2", "Node3"}));
  EXPECT_EQ(saved.Get("Node", "Node1", ""), "10.0.0.1 80 first 0 one");
  EXPECT_EQ(saved.Get("Node", "Node2", ""), "h 1 p 0");
  EXPECT_EQ(saved.Get("Node", "Node3", ""), "h 1 p%0D%0A[Node]%0D%0ANode1=x 0");
}

TEST_F(ShareLinksTest, ALineBreakInsideAPasswordCannotSplitTheFile) {
  // A lone LF does not end a line, so it reaches the password; the file
  // keeps the node on one line instead of starting a section.
  Import("brook://default%20h%3A1%20p\n[Evil]\nNode1=x");
  ASSERT_EQ(Nodes(), 2u);
  const IniDocument saved = IniDocument::Parse(t.ConfigText());
  EXPECT_EQ(saved.Get("Node", "Node2", ""), "h 1 p[Evil]Node1=x 0");
  EXPECT_TRUE(saved.Keys("Evil").empty());
  EXPECT_EQ(saved.Keys("Node").size(), 2u);
}

// Level M, byte mode, with a quiet zone: the sizes and the largest link
// follow from the standard's capacity table (level L or another mode would
// give other ones).
TEST(ShareQrCode, IsLevelMByteModeWithAQuietZone) {
  const auto small = ShareLinkQrCode("brook://default%20h%3A1%20p");  // 27 bytes: version 3
  ASSERT_TRUE(small);
  EXPECT_EQ(small->size, 29 + 8);
  for (int i = 0; i < small->size; ++i)
    for (int edge : {0, 3, small->size - 4, small->size - 1}) {
      EXPECT_FALSE(small->Dark(i, edge));
      EXPECT_FALSE(small->Dark(edge, i));
    }
  for (int i = 4; i < 11; ++i) EXPECT_TRUE(small->Dark(i, 4) && small->Dark(4, i));  // a finder's edge

  EXPECT_EQ(ShareLinkQrCode(std::string(2331, 'a'))->size, 177 + 8);
  EXPECT_FALSE(ShareLinkQrCode(std::string(2332, 'a')));
  EXPECT_EQ(QrModulePixels(96), 4);
  EXPECT_EQ(QrModulePixels(144), 6);
  EXPECT_EQ(QrModulePixels(72), 4);
  // A version-40 code at 144 DPI on a 1080-pixel screen: smaller modules
  // that fit; a code with room keeps its size.
  EXPECT_EQ(QrModulePixels(144, 185, 900), 4);
  EXPECT_EQ(QrModulePixels(144, 37, 900), 6);
  EXPECT_EQ(QrModulePixels(96, 185, 100), 1);
}

TEST_F(ShareLinksTest, TheQrCodeItemShowsTheGeneratedLinkAndWritesNothing) {
  EXPECT_EQ(FindMenuItem(menu::显示分享二维码), FindMenuItem(menu::生成分享链接) + 1);
  EXPECT_EQ(FindMenuItem(menu::显示分享二维码)->level, 2);

  const std::string config = t.ConfigText();
  const std::string link = Generated("[::1]", "443", "p@%\"中", 1);
  t.form.messages.clear();
  OnMenuCommand(t.app, menu::显示分享二维码);
  EXPECT_EQ(t.qrWindow.shows, 1);
  EXPECT_EQ(t.qrWindow.link, link);
  EXPECT_EQ(t.qrWindow.code.dark, ShareLinkQrCode(link)->dark);
  EXPECT_TRUE(t.form.messages.empty());
  EXPECT_EQ(t.diag.clipboard.writes, 1);  // GenerateShareLink's only
  EXPECT_EQ(t.ConfigText(), config);

  t.form.SetText(Ctl::编辑框_服务器密码, std::string(2400, 'p'));
  OnMenuCommand(t.app, menu::显示分享二维码);
  EXPECT_EQ(t.form.messages.back().text, "分享链接太长，无法生成二维码！");
  EXPECT_EQ(t.form.messages.back().title, "错误");
  t.form.SetText(Ctl::编辑框_服务器IP, "");
  OnMenuCommand(t.app, menu::显示分享二维码);
  EXPECT_EQ(t.form.messages.back().text, "服务器IP 不能为空！");
  EXPECT_EQ(t.qrWindow.shows, 1);
}

TEST_F(ShareLinksTest, AClickQueuedDuringAnImportIsDropped) {
  // The window's queued messages, handled before the import ends: another
  // click on the button.
  t.engine.wait.nextWaitOnly = [&] { Import("brook://default%20x%3A9%20again"); };
  Import("brook://default%20a%3A1%20p\r\nbrook://vpn%20b%3A2%20q\r\n");
  ASSERT_EQ(t.engine.wait.waits.size(), 1u);
  ASSERT_EQ(Nodes(), 3u);
  const IniDocument saved = IniDocument::Parse(t.ConfigText());
  EXPECT_EQ(saved.Get("NodeList", "Num", ""), "3");
  EXPECT_EQ(saved.Get("NodeList", "Select node", ""), "2");
  EXPECT_EQ(saved.Get("Node", "Node2", ""), "a 1 p 0");
  EXPECT_EQ(saved.Get("Node", "Node3", ""), "b 2 q 2");
  EXPECT_TRUE(t.form.listRedraw);

  // Once it has ended, the next click imports again.
  Import("brook://default%20x%3A9%20again");
  EXPECT_EQ(Nodes(), 4u);
}

}  // namespace
