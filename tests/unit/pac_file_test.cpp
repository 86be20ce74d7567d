#include <cstdint>
#include <filesystem>
#include <string>

#include "app/events.h"
#include "context/tray_menu_layout.h"
#include "system/pac_file.h"
#include "system/pac_template.h"
#include "update/update_check.h"
#include "system_test_fixture.h"

namespace {

TEST(PacTemplate, BothPlaceholdersEverywhereInOrder) {
  const std::string pacTemplate =
      "var p = \"__PROXY__\";\r\nif (x) return \"__DIRECT__\"; return \"__PROXY__\" + \"__DIRECT__\";\r\n";
  EXPECT_EQ(FillPacTemplate(pacTemplate, PacProxyEntry("HTTP", "2080")),
            "var p = \"PROXY 127.0.0.1:2080;DIRECT;\";\r\nif (x) return \"DIRECT\"; "
            "return \"PROXY 127.0.0.1:2080;DIRECT;\" + \"DIRECT\";\r\n");
  EXPECT_EQ(PacProxyEntry("SOCKS5", "1080"), "SOCKS5 127.0.0.1:1080;DIRECT;");
  EXPECT_EQ(PacProxyEntry("socks5", "1080"), "SOCKS5 127.0.0.1:1080;DIRECT;");  // anything but "HTTP"
  // The placeholders are case-sensitive.
  EXPECT_EQ(FillPacTemplate("__proxy__ __Direct__", "X"), "__proxy__ __Direct__");
  // "__DIRECT__" is replaced after "__PROXY__", so the entry is not spared.
  EXPECT_EQ(FillPacTemplate("__PROXY__", "__DIRECT__"), "DIRECT");
}

TEST(PacTemplate, MatchesStartOnCharacterBoundaries) {
  // "\x81\x5F" is one GBK character whose trail byte is '_'.
  EXPECT_EQ(ReplaceAll("\x81\x5F_PROXY__", "__PROXY__", "X"), "\x81\x5F_PROXY__");
  EXPECT_EQ(ReplaceAll("\x81\x5F__PROXY__", "__PROXY__", "X"), "\x81\x5FX");
  EXPECT_EQ(ReplaceAll("____PROXY__", "__PROXY__", "X"), "__X");
  EXPECT_EQ(ReplaceAll("__PROXY____PROXY__", "__PROXY__", ""), "");
}

class PacFileTest : public SystemTest {};

TEST_F(PacFileTest, GeneratedForTheHttpAndSocks5RunModes) {
  t.folder.Write("pac.txt", "function FindProxyForURL(u, h) { return \"__PROXY__\" || \"__DIRECT__\"; }");
  t.form.SetText(Ctl::编辑框_本地端口, "3128");
  EXPECT_EQ(GeneratePacFile(t.app).state, PacScriptState::Ready);
  EXPECT_EQ(t.folder.Read("pac"), "function FindProxyForURL(u, h) { return \"PROXY 127.0.0.1:3128;DIRECT;\" || \"DIRECT\"; }");

  t.app.run.runMode = "SOCKS5";
  GeneratePacFile(t.app);
  EXPECT_EQ(t.folder.Read("pac"), "function FindProxyForURL(u, h) { return \"SOCKS5 127.0.0.1:3128;DIRECT;\" || \"DIRECT\"; }");
  EXPECT_EQ(system.workers.started, 0);
}

TEST_F(PacFileTest, ATemplateWithoutPlaceholdersIsCopiedUnchanged) {
  const std::string pacTemplate = "// 代理规则\r\nfunction FindProxyForURL(url, host) {\n  return \"DIRECT\";\n}\n";
  t.folder.Write("pac.txt", pacTemplate);
  GeneratePacFile(t.app);
  EXPECT_EQ(t.folder.Read("pac"), pacTemplate);
}

TEST_F(PacFileTest, PacModeWaitsForAScriptBrowsersRunAndADownloadAppliesItLive) {
  const std::string settings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
  const auto autoConfigUrl = [&] {
    const auto value = system.registry.Get(RegistryRoot::CurrentUser, settings, "AutoConfigURL");
    return value ? value->bytes : "(none)";
  };
  const std::string users = "http://wpad.corp.example/proxy.pac";
  system.registry.Put(RegistryRoot::CurrentUser, settings, "AutoConfigURL", {FakeRegistry::Type::String, users});
  state.SetPacSourceHost("pac.example.org");
  const std::string address = "https://pac.example.org/Other/pac.txt";
  MarkRunning();
  t.form.SetMenuChecked(menu::PAC模式, true);

  t.folder.Write("pac.txt", "");
  OnMenuCommand(t.app, menu::PAC模式);  // an empty template: nothing to serve yet
  EXPECT_EQ(autoConfigUrl(), users);
  EXPECT_FALSE(HasFile("pac"));
  EXPECT_EQ(Balloons().back().title, "PAC模式尚未生效");
  EXPECT_EQ(system.workers.Pending(), 1u);

  system.downloader.bodies[address] = "<html>portal</html>";  // no script: not stored
  system.workers.RunAll();
  EXPECT_EQ(autoConfigUrl(), users);
  EXPECT_EQ(t.folder.Read("pac.txt"), "");
  EXPECT_EQ(Balloons().back().title, "PAC 更新失败！");

  system.downloader.bodies[address] = "function FindProxyForURL(u, h) { return \"__PROXY__\"; }";
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  const std::string pacBase = "http://127.0.0.1:50123/000102030405060708090a0b0c0d0e0f/pac?t=";
  EXPECT_EQ(autoConfigUrl(), pacBase + "1");
  EXPECT_EQ(Balloons().back().text, "最新 PAC文件已生效。");
  const std::string answer = system.pacServer.Request(
      "GET /000102030405060708090a0b0c0d0e0f/pac?t=1 HTTP/1.1\r\nHost: 127.0.0.1:50123\r\n\r\n");
  EXPECT_NE(answer.find("\r\n\r\nfunction FindProxyForURL(u, h) { return \"PROXY 127.0.0.1:2080;DIRECT;\"; }"),
            std::string::npos) << answer;

  // A script past Chromium's limit is applied, with a warning.
  system.downloader.bodies[address] += "//" + std::string(1 << 20, 'x');
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(autoConfigUrl(), pacBase + "2");
  EXPECT_EQ(Balloons().back().title, "PAC文件过大！");
}

TEST_F(PacFileTest, ADownloadedTemplateIsStoredByteForByte) {
  state.SetPacSourceHost("pac.example.org");
  const std::string body = "function FindProxyForURL(u, h) {\r\n  return \"__PROXY__\";\n}\n// \x81\x40\n";
  system.downloader.bodies["https://pac.example.org/Other/pac.txt"] = body;

  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), body);
  EXPECT_FALSE(HasFile("pac.txt.download"));
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].title, "PAC 更新成功！");
  EXPECT_EQ(Balloons()[0].text, "如果当前正在运行，则需要重启代理后才能使应用最新 PAC文件！");
  EXPECT_EQ(Balloons()[0].kind, BalloonIcon::Info);
}

TEST_F(PacFileTest, AFailedDownloadKeepsTheTemplateAndNamesTheAddress) {
  t.folder.Write("pac.txt", "kept");
  // Offline at startup: no host was fetched, the default one is asked.
  system.connectivity.online = false;
  StartUpdateWorkers(t.app);
  system.workers.RunAll();
  const std::string address = std::string("https://") + CORVANE_DEFAULT_PAC_HOST + "/Other/pac.txt";
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(system.downloader.requested, std::vector<std::string>{address});
  EXPECT_EQ(t.folder.Read("pac.txt"), "kept");
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].title, "PAC 更新失败！");
  EXPECT_EQ(Balloons()[0].text, "原因：获取在线PAC内容为空或访问失败，请尝试手动下载覆盖：" + address);
  EXPECT_EQ(Balloons()[0].kind, BalloonIcon::Error);

  // An error page, an answer past the limit, a body cut short or a
  // download that throws never replaces the template; each is the same
  // failure, and each is run on its own so it meets its own answer.
  const std::string page = "function FindProxyForURL(u, h) { return \"DIRECT\"; }";
  const DownloadAnswer cutShort[] = {
      {404, "<html>Not Found</html>"},
      {500, "<html>Server Error</html>"},
      {200, std::string(kDownloadLimit + 1, 'x')},
      {200, page, false, true},                                            // a read failed
      {200, page, false, false, static_cast<std::int64_t>(page.size() + 1)},  // short of its length
  };
  for (const DownloadAnswer& answer : cutShort) {
    SCOPED_TRACE(&answer - cutShort);
    system.downloader.answers[address] = answer;
    const std::size_t asked = system.downloader.requested.size();
    OnMenuCommand(t.app, menu::更新PAC文件);
    system.workers.RunAll();
    EXPECT_EQ(system.downloader.requested.size(), asked + 1);
    EXPECT_EQ(t.folder.Read("pac.txt"), "kept");
    EXPECT_EQ(Balloons().back().title, "PAC 更新失败！");
  }
  system.downloader.throws.insert(address);
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), "kept");
  ASSERT_EQ(Balloons().size(), 7u);
  for (const Balloon& balloon : Balloons()) EXPECT_EQ(balloon.title, "PAC 更新失败！");
  EXPECT_EQ(Balloons().back().text, Balloons().front().text);

  // The whole answer of the same length is taken: the cases above fail for
  // what they lack, not for their body.
  system.downloader.throws.clear();
  system.downloader.answers[address] = {200, page, false, false, static_cast<std::int64_t>(page.size())};
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), page);
  t.folder.Write("pac.txt", "kept");

  // A body that is empty as text (it starts with a NUL) fails the same way.
  state.SetPacSourceHost("http://127.0.0.1:8080");
  system.downloader.bodies["http://127.0.0.1:8080/Other/pac.txt"] = std::string("\0abc", 4);
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), "kept");
  EXPECT_EQ(Balloons().back().text,
            "原因：获取在线PAC内容为空或访问失败，请尝试手动下载覆盖：http://127.0.0.1:8080/Other/pac.txt");

  // So does a page answered with 200 that is no script, and says so.
  system.downloader.bodies["http://127.0.0.1:8080/Other/pac.txt"] = "<html>Sign in to the Wi-Fi</html>";
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), "kept");
  EXPECT_EQ(Balloons().back().text,
            "原因：下载到的内容不是PAC文件（没有 FindProxyForURL 函数），本地PAC文件未改变。请尝试手动下载覆盖："
            "http://127.0.0.1:8080/Other/pac.txt");
}

TEST_F(PacFileTest, ATemplateThatCannotBeReplacedIsReported) {
  namespace fs = std::filesystem;
  state.SetPacSourceHost("pac.example.org");
  system.downloader.bodies["https://pac.example.org/Other/pac.txt"] = "function FindProxyForURL() {}";
  t.folder.Write("pac.txt", "read-only");
  fs::permissions(t.folder.File("pac.txt"), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  EXPECT_EQ(t.folder.Read("pac.txt"), "read-only");
  EXPECT_FALSE(HasFile("pac.txt.download"));
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].title, "PAC 更新失败！");
  EXPECT_EQ(Balloons()[0].text, "原因：写入本地PAC文件失败，请尝试手动下载覆盖：https://pac.example.org/Other/pac.txt");
  EXPECT_EQ(Balloons()[0].kind, BalloonIcon::Error);
}

TEST_F(PacFileTest, TheDownloadNeedsAnEnginePath) {
  t.form.SetText(Ctl::编辑框_文件位置, "");
  OnMenuCommand(t.app, menu::更新PAC文件);
  system.workers.RunAll();
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "文件位置 不能为空！");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_TRUE(system.downloader.requested.empty());
  EXPECT_TRUE(Balloons().empty());
}

TEST_F(PacFileTest, EditingShowsTheTemplateInExplorerOrSaysItIsMissing) {
  OnMenuCommand(t.app, menu::编辑PAC文件);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "找不到PAC文件！请尝试使用 更新PAC文件 功能下载。");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_TRUE(system.shell.launched.empty());

  t.folder.Write("pac.txt", "");
  OnMenuCommand(t.app, menu::编辑PAC文件);
  EXPECT_EQ(system.shell.launched, std::vector<std::string>{"explorer.exe /e,/select," + EngineDirectory() + "pac.txt"});
  EXPECT_EQ(t.form.messages.size(), 1u);
}

}  // namespace
