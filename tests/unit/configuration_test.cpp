#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "app/startup.h"

#include "context/tray_menu_layout.h"
#include "config/configuration.h"
#include "config/node_list.h"
#include "config/value_codec.h"
#include "links/share_links.h"
#include "fakes/fake_platform.h"

namespace {

constexpr Ctl kList = Ctl::超级列表框_服务器列表;

TEST(ValueCodec, BooleansOnlyFalseIsOff) {
  EXPECT_FALSE(ReadBoolean("false"));
  for (const char* on : {"true", "TRUE", "1", "", "False"}) EXPECT_TRUE(ReadBoolean(on)) << on;
}

TEST(ValueCodec, IntegersReadLikeAtoiAfterFullWidthDigits) {
  EXPECT_EQ(ReadInteger("12abc"), 12);
  EXPECT_EQ(ReadInteger("  -7"), -7);
  EXPECT_EQ(ReadInteger("+3"), 3);
  EXPECT_EQ(ReadInteger("abc"), 0);
  EXPECT_EQ(ReadInteger(""), 0);
  EXPECT_EQ(ReadInteger("１２"), 12);         // full-width digits
  EXPECT_EQ(ReadInteger("　－３４ｘ"), -34);  // ideographic space, full-width minus
  EXPECT_EQ(ReadInteger("99999999999999999999"), 2147483647);
  EXPECT_EQ(ReadInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(LoadConfiguration, WithoutAFileShowsDefaultsAndWritesOnlyFile) {
  TestApp t;
  t.Load();
  EXPECT_EQ(t.ConfigText(), "[BasisConfig]\r\nFile=\r\n");
  EXPECT_EQ(t.form.Text(Ctl::编辑框_本地端口), "2080");
  EXPECT_EQ(t.form.Text(Ctl::编辑框_账号自检设置_超时时间), "10");
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::直连模式));
  EXPECT_TRUE(t.form.MenuChecked(menu::HTTP方式启动));
  EXPECT_FALSE(t.form.Enabled(Ctl::编辑框_VPN设置_默认网关));
  EXPECT_EQ(t.form.Rows(), std::vector<std::string>{"127.0.0.1:2333"});
  EXPECT_EQ(t.form.SelectedRow(kList), 0);
  EXPECT_EQ(t.form.ComboSelection(Ctl::组合框_服务器协议), 0);
  EXPECT_EQ(t.app.run.runMode, "HTTP");
  EXPECT_EQ(t.app.run.protocol, -1);
}

TEST(LoadConfiguration, ValuesOutsideTheirSets) {
  TestApp t;
  t.WriteConfig(
      "[BasisConfig]\r\nRun=TRUE\r\nLAN Connection=\r\nCustom default gateway=false\r\nLocal port=\r\n"
      "Proxy Mode=7\r\n");
  t.Load();
  EXPECT_TRUE(t.form.Checked(Ctl::选择框_开机启动));
  EXPECT_TRUE(t.form.Checked(Ctl::选择框_局域网连接));
  EXPECT_FALSE(t.form.Checked(Ctl::选择框_自定义默认网关));
  EXPECT_EQ(t.form.Text(Ctl::编辑框_本地端口), "");  // present and empty: no default
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::PAC模式));
}

TEST(LoadConfiguration, OtherRunModeWithdrawsGlobalModeButKeepsTheFile) {
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nProxy Mode=2\r\nRun Mode=socks5\r\nCustom default gateway=1\r\n");
  t.Load();
  EXPECT_EQ(t.app.run.runMode, "socks5");
  EXPECT_FALSE(t.form.MenuChecked(menu::HTTP方式启动));
  EXPECT_FALSE(t.form.MenuEnabled(menu::全局模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::全局模式));
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  EXPECT_TRUE(t.form.Enabled(Ctl::编辑框_VPN设置_网卡名称));
  EXPECT_NE(t.ConfigText().find("Proxy Mode=2"), std::string::npos);
}

TEST(SingleKeyWriters, WriteAtOnceFromTheirControls) {
  TestApp t;
  t.Load();
  t.form.Type(Ctl::编辑框_本地端口, "");
  OnControlEvent(t.app, Ctl::编辑框_本地端口, ControlEvent::LostFocus);
  EXPECT_NE(t.ConfigText().find("Local port=\r\n"), std::string::npos);

  t.form.SetChecked(Ctl::选择框_局域网连接, true);
  OnControlEvent(t.app, Ctl::选择框_局域网连接, ControlEvent::Clicked);
  EXPECT_NE(t.ConfigText().find("LAN Connection=true"), std::string::npos);

  t.form.SetChecked(Ctl::选择框_自定义默认网关, true);
  OnControlEvent(t.app, Ctl::选择框_自定义默认网关, ControlEvent::Clicked);
  EXPECT_TRUE(t.form.Enabled(Ctl::编辑框_VPN设置_首选DNS));
  EXPECT_NE(t.ConfigText().find("Custom default gateway=true"), std::string::npos);

  t.form.Type(Ctl::编辑框_文件位置, "D:\\工具\\brook.exe");
  EXPECT_NE(t.ConfigText().find("File=D:\\工具\\brook.exe\r\n"), std::string::npos);
}

TEST(SaveMoreSettings, WritesEverySettingOfTheSecondPageInOneGo) {
  TestApp t;
  t.WriteConfig("[MoreSettings]\r\n; mine\r\nTimeout=3\r\n");
  t.Load();
  t.form.Type(Ctl::编辑框_账号自检设置_测试网址, "https://example.org/");
  t.form.Type(Ctl::编辑框_VPN设置_首选DNS, "8.8.8.8");
  t.form.SetChecked(Ctl::选择框_开机启动, true);
  SaveMoreSettings(t.app);
  EXPECT_EQ(t.ConfigText(),
            "[MoreSettings]\r\n; mine\r\nTimeout=3\r\nTest URL=https://example.org/\r\n"
            "[BasisConfig]\r\nFile=\r\nLocal port=2080\r\nDefault gateway=\r\nDNS1=8.8.8.8\r\n"
            "Network name=\r\nRun=true\r\nLAN Connection=false\r\nCustom default gateway=false\r\n");
}

TEST(LoadConfiguration, RemovesTheCopyOfAKilledSave) {
  TestApp t;
  t.WriteConfig("[BasisConfig]\r\nFile=\r\n");
  t.folder.Write("config.ini.new", "[BasisConfig]\r\nFi");
  t.Load();
  EXPECT_EQ(t.folder.Names(), std::vector<std::string>{"config.ini"});
}

TEST(SaveFailures, AreToldAndTheExitWaitsUntilTheSaveLandsOrTheUserEnds) {
  TestApp t;
  t.Load();
  t.form.Type(Ctl::编辑框_服务器备注, "edited");
  const std::string config = t.folder.File("config.ini");
  std::filesystem::permissions(config, std::filesystem::perms::owner_read);
  OnControlEvent(t.app, Ctl::按钮_保存, ControlEvent::Clicked);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_EQ(t.form.messages[0].text, "保存配置失败！\r\n文件：" + t.app.config.Path() +
                                         "\r\n原因：拒绝访问。\r\n窗口中的修改仍然保留，排除原因后请重新保存。");
  OnControlEvent(t.app, Ctl::按钮_更多设置_保存, ControlEvent::Clicked);
  t.diag.clipboard.text = "brook://default%20a%3A1%20p";
  ImportShareLinks(t.app);  // the imported node stays in the list
  ExitProgram(t.app);  // the user answers "否"
  ASSERT_EQ(t.form.messages.size(), 4u);
  EXPECT_TRUE(t.form.messages[3].text.starts_with(t.form.messages[0].text)) << t.form.messages[3].text;
  EXPECT_FALSE(t.form.destroyed);

  // The session's end never waits and never asks.
  std::filesystem::permissions(config, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  t.files.heldAlone[t.app.config.Path()] = UINT_MAX;
  OnSessionEnding(t.app);
  EXPECT_EQ(t.files.paused, 0u);
  EXPECT_EQ(t.form.messages.size(), 4u);
  t.files.heldAlone.clear();

  ExitProgram(t.app);
  EXPECT_TRUE(t.form.destroyed);
  EXPECT_EQ(t.app.config.Read("Node", "Node1", ""), "127.0.0.1 2333 corvane 0 edited");

  // Nothing can be written at all: "是" ends the program without the save.
  TestApp u;
  u.Load();
  std::filesystem::permissions(u.folder.File("config.ini"), std::filesystem::perms::owner_read);
  u.form.Type(Ctl::编辑框_服务器备注, "lost");
  u.form.answerYes = true;
  ExitProgram(u.app);
  EXPECT_EQ(u.form.messages.size(), 1u);
  EXPECT_TRUE(u.form.destroyed);
}

TEST(LoadConfiguration, AFileHeldAtTheStartIsWaitedForOrNeverWritten) {
  const std::string nodes =
      "[BasisConfig]\r\nFile=C:\\b\\brook.exe\r\n[NodeList]\r\nNum=1\r\n[Node]\r\nNode1=a 1 p 0 mine\r\n";
  TestApp t;
  t.WriteConfig(nodes);
  t.files.heldExclusive[ConfigPath(t.app)] = 300;  // a backup tool that lets go
  t.Load();
  EXPECT_EQ(t.form.Rows(), std::vector<std::string>{"mine(a:1)"});
  EXPECT_TRUE(t.form.messages.empty());

  TestApp u;
  u.WriteConfig(nodes);
  u.files.heldExclusive[ConfigPath(u.app)] = 60000;
  u.Load();
  ASSERT_EQ(u.form.messages.size(), 1u);
  EXPECT_TRUE(u.form.messages[0].text.starts_with("读取配置失败！\r\n文件：" + ConfigPath(u.app) +
                                                  "\r\n原因：另一个程序正在使用此文件，进程无法访问。"))
      << u.form.messages[0].text;
  EXPECT_LT(u.files.paused, 1000u);
  u.files.heldExclusive.clear();
  // Saves say why and write nothing; "退出" says why and still ends.
  OnControlEvent(u.app, Ctl::按钮_保存, ControlEvent::Clicked);
  u.form.Type(Ctl::编辑框_本地端口, "1");
  WriteLocalPort(u.app);
  ExitProgram(u.app);
  ASSERT_EQ(u.form.messages.size(), 3u);
  EXPECT_NE(u.form.messages[2].text.find("本次运行不会保存配置"), std::string::npos) << u.form.messages[2].text;
  EXPECT_TRUE(u.form.destroyed);
  EXPECT_EQ(u.ConfigText(), nodes);
}

}  // namespace
