// The engine's command lines: their shapes, and that every text from the
// window comes back from the command line exactly as it was typed.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "argv_splitter.h"
#include "engine/engine_command_line.h"
#include "engine_test_fixture.h"
#include "shared/command_line_quoting.h"

namespace {

TEST(ArgumentQuoting, AwkwardTextsComeBackAsOneArgumentUnchanged) {
  const std::string texts[] = {
      "simple",
      "",
      "two words",
      "tab\there",
      "quote\"inside",
      "\"",
      "\"\"",
      "ends in a backslash\\",
      "ends in two\\\\",
      "C:\\dir\\",
      "\\\"",            // a backslash, then a quote
      "a\\\\\\\"b",      // three backslashes and a quote
      "\" -p injected --http \"",
      "\" --defaultGateway 1.2.3.4",
      "& calc.exe | %PATH% ^ <in >out",
      "密码 含空格",
      "\x81\x5c",        // a GBK character whose second byte is 0x5C
      "\x81\x5c\"",      // ... in front of a quote
      "x\x81\x5c\\\"y",  // ... followed by a real backslash and a quote
  };
  for (const std::string& text : texts) {
    const std::string line = "\"C:\\brook.exe\" " + QuoteArgument(text, kGbkCodePage) + " " + QuoteArgumentIfNeeded(text, kGbkCodePage) + " end";
    EXPECT_EQ(SplitCommandLine(line), (std::vector<std::string>{"C:\\brook.exe", text, text, "end"})) << line;
  }
}

TEST(ArgumentQuoting, PlainTextsStayBareAndBrokenCharactersCannotEatTheEscape) {
  EXPECT_EQ(QuoteArgumentIfNeeded("127.0.0.1:2080", kGbkCodePage), "127.0.0.1:2080");
  EXPECT_EQ(QuoteArgumentIfNeeded("C:\\a\\", kGbkCodePage), "C:\\a\\");  // no quote follows, so no doubling
  EXPECT_EQ(QuoteArgument("C:\\a\\", kGbkCodePage), "\"C:\\a\\\\\"");
  // A lead byte with no valid second byte would take the escaping backslash
  // as its own second byte once Windows converts the line; it becomes "?".
  EXPECT_EQ(QuoteArgument("\x81\"", kGbkCodePage), "\"?\\\"\"");
  EXPECT_EQ(QuoteArgumentIfNeeded("\x81", kGbkCodePage), "?");
  EXPECT_EQ(SplitCommandLine("p " + QuoteArgument("a\x81\" --http", kGbkCodePage)), (std::vector<std::string>{"p", "a?\" --http"}));
}

TEST(ArgumentQuoting, ProgramPathsAreQuotedWithoutEscapes) {
  const std::string paths[] = {"C:\\Program Files\\brook\\brook.exe", "C:\\brook.exe", "D:\\带 空格\\brook.exe",
                               "\\\\server\\share\\brook.exe", "C:\\Tools\\"};
  for (const std::string& path : paths) {
    const std::string line = QuoteProgramPath(path, kGbkCodePage) + " client";
    EXPECT_EQ(SplitCommandLine(line), (std::vector<std::string>{path, "client"})) << line;
  }
  // No file name holds a quote; one typed into the path cannot end it early.
  EXPECT_EQ(QuoteProgramPath("C:\\a\" --http \"b.exe", kGbkCodePage), "\"C:\\a --http b.exe\"");
}

TEST(ArgumentQuoting, CharactersAreThoseOfTheCodePageWindowsSplitsBy) {
  // On 1252 or with the UTF-8 option, 0xE9 is a character of its own: the
  // backslash after it escapes, and nothing may open the listener.
  const std::string password = "\xE9\\\" --http -l 0.0.0.0:1080 \"";
  for (unsigned codePage : {1252u, 65001u, 936u}) {
    const std::string line = "brook.exe -p " + QuoteArgument(password, codePage) + " " +
                             QuoteArgumentIfNeeded("\xE9\\\"", codePage) + " end";
    EXPECT_EQ(SplitCommandLine(line, codePage),
              (std::vector<std::string>{"brook.exe", "-p", password, "\xE9\\\"", "end"}))
        << codePage << ": " << line;
  }
  // 0xA1 leads a character in 936 but is one of its own in 932.
  EXPECT_EQ(QuoteArgument("\xA1\\\"", 936), "\"\xA1\\\\\"\"");
  EXPECT_EQ(QuoteArgument("\xA1\\\"", 932), "\"\xA1\\\\\\\"\"");
}

TEST_F(EngineTest, TheEnginesCommandLineIsQuotedForTheSystemsCodePage) {
  engine.codePage.codePage = 1252;
  t.form.SetText(Ctl::编辑框_服务器密码, "\xE9\\\" --http -l 0.0.0.0:1080 \"");
  const std::vector<std::string> args = SplitCommandLine(BuildEngineCommandLine(t.app), 1252);
  EXPECT_EQ(std::count(args.begin(), args.end(), "-l"), 1);
  EXPECT_EQ(args.back(), "--http");
  EXPECT_EQ(args[args.size() - 2], "\xE9\\\" --http -l 0.0.0.0:1080 \"");
}

class CommandLineTest : public EngineTest {
 protected:
  std::string Path() const { return "\"" + EnginePath() + "\""; }
};

TEST_F(CommandLineTest, ClientAndStreamClientInBothRunModes) {
  t.app.run.runMode = "HTTP";
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " client -l 127.0.0.1:2080 -i 127.0.0.1 -s \"198.51.100.7:9999\" -p \"secret\" --http");
  t.form.SetComboSelection(Ctl::组合框_服务器协议, 1);
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " streamclient -l 127.0.0.1:2080 -i 127.0.0.1 -s \"198.51.100.7:9999\" -p \"secret\" --http");
  t.app.run.runMode = "SOCKS5";
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " streamclient -l 127.0.0.1:2080 -i 127.0.0.1 -s \"198.51.100.7:9999\" -p \"secret\"");
  t.form.SetComboSelection(Ctl::组合框_服务器协议, 0);
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " client -l 127.0.0.1:2080 -i 127.0.0.1 -s \"198.51.100.7:9999\" -p \"secret\"");
  // Anything but exactly "HTTP" is not HTTP.
  t.app.run.runMode = "http";
  EXPECT_EQ(BuildEngineCommandLine(t.app).find("--http"), std::string::npos);
}

TEST_F(CommandLineTest, LanConnectionsBindBothAddressesButNeverTheVpn) {
  t.form.SetChecked(Ctl::选择框_局域网连接, true);
  t.form.SetText(Ctl::编辑框_本地端口, "1080");
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " client -l 0.0.0.0:1080 -i 0.0.0.0 -s \"198.51.100.7:9999\" -p \"secret\" --http");
  t.form.SetComboSelection(Ctl::组合框_服务器协议, 1);
  EXPECT_EQ(BuildEngineCommandLine(t.app),
            Path() + " streamclient -l 0.0.0.0:1080 -i 0.0.0.0 -s \"198.51.100.7:9999\" -p \"secret\" --http");

  UseCustomGateway("192.168.1.1", "192.168.1.1", "Ethernet");
  t.form.SetComboSelection(Ctl::组合框_服务器协议, 2);
  for (const char* mode : {"HTTP", "SOCKS5"}) {
    t.app.run.runMode = mode;
    EXPECT_EQ(BuildEngineCommandLine(t.app),
              Path() + " vpn -l 127.0.0.1:1080 -s \"198.51.100.7:9999\" -p \"secret\" --defaultGateway 192.168.1.1")
        << mode;
  }
}

TEST_F(CommandLineTest, AVpnNodeWhosePreparationFailsGivesOnlyTheMarker) {
  t.form.SetComboSelection(Ctl::组合框_服务器协议, 2);
  EXPECT_EQ(BuildEngineCommandLine(t.app), "没找到TAP虚拟网卡");
  UseCustomGateway("", "8.8.8.8", "Ethernet");
  EXPECT_EQ(BuildEngineCommandLine(t.app), "请填写默认网关");
}

TEST_F(CommandLineTest, TheEngineReceivesExactlyTheFieldsThatWereTyped) {
  struct Case {
    std::string path, server, port, password, localPort;
  };
  const Case cases[] = {
      {"C:\\Program Files\\brook\\brook.exe", "198.51.100.7", "9999", "pa ss", "2080"},
      {"C:\\brook.exe", "198.51.100.7", "9999", "p\"ass", "2080"},
      {"C:\\brook.exe", "198.51.100.7", "9999", "\" --http -l 0.0.0.0:1 \"", "2080"},
      {"C:\\brook.exe", "198.51.100.7", "9999", "trailing\\", "2080"},
      {"C:\\brook.exe", "198.51.100.7", "9999", "back\\\\\"slash\\\"", "2080"},
      {"C:\\brook.exe", "198.51.100.7", "9999", "\x81\x5c\"密\\码", "2080"},
      {"C:\\brook.exe", "example.com\" -p \"x", "99 99", "secret", "2080"},
      {"D:\\带 空格\\brook.exe", "2001:db8::1", "9999", "secret", "20 80"},
  };
  for (const Case& c : cases) {
    t.form.SetText(Ctl::编辑框_文件位置, c.path);
    t.form.SetText(Ctl::编辑框_本地端口, c.localPort);
    Node(c.server, c.port, c.password, 0);
    const std::string line = BuildEngineCommandLine(t.app);
    EXPECT_EQ(SplitCommandLine(line),
              (std::vector<std::string>{c.path, "client", "-l", "127.0.0.1:" + c.localPort, "-i", "127.0.0.1", "-s",
                                        c.server + ":" + c.port, "-p", c.password, "--http"}))
        << line;

    UseCustomGateway("10.0.0.1 -x", "", "");
    t.form.SetComboSelection(Ctl::组合框_服务器协议, 2);
    const std::string vpn = BuildEngineCommandLine(t.app);
    EXPECT_EQ(SplitCommandLine(vpn),
              (std::vector<std::string>{c.path, "vpn", "-l", "127.0.0.1:" + c.localPort, "-s", c.server + ":" + c.port,
                                        "-p", c.password, "--defaultGateway", "10.0.0.1 -x"}))
        << vpn;
    t.form.SetChecked(Ctl::选择框_自定义默认网关, false);
  }
}

}  // namespace
