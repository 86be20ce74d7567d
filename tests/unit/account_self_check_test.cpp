#include "diag/account_self_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "diag/http_request.h"

#include "context/tray_menu_layout.h"
#include "fakes/balloon_recorder.h"
#include "fakes/fake_platform.h"

namespace {

class SelfCheckTest : public ::testing::Test {
 protected:
  SelfCheckTest() {
    // The engine runs in the HTTP Run mode, as the self-check needs.
    t.app.run.protocol = 0;
    t.form.SetMenuEnabled(menu::账号自检, true);
    t.form.SetMenuChecked(menu::HTTP方式启动, true);
    t.form.SetText(Ctl::编辑框_本地端口, "2080");
    t.form.SetText(Ctl::编辑框_账号自检设置_测试网址, "http://test.example/");
    t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, "10");
    t.diag.http.whileSending = [this] { t.diag.clock.now += 345; };
  }
  void RunCheck() {
    StartSelfCheck(t.app);
    t.diag.workers.RunAll();
  }

  TestApp t;
  BalloonRecorder balloons{t.app};
};

TEST_F(SelfCheckTest, ABodyThroughTheLocalProxyMeansTheAccountWorks) {
  t.diag.http.chunks = {"<html>ok</html>"};
  StartSelfCheck(t.app);
  EXPECT_FALSE(t.form.MenuEnabled(menu::账号自检));  // while the check runs
  ASSERT_EQ(t.diag.workers.Pending(), 1u);
  t.diag.workers.RunAll();

  const HttpExchangeRecord& r = t.diag.http.Last();
  EXPECT_EQ(t.diag.http.crackedUrls.back(), "http://test.example/");
  EXPECT_EQ(r.verb, "GET");
  EXPECT_EQ(r.access, HttpAccess::NamedProxy);
  EXPECT_EQ(r.proxyName, "http=127.0.0.1:2080");
  EXPECT_EQ(r.timeouts, (std::vector<int>{10000, 10000, 10000, 10000}));
  using Options = std::vector<std::pair<std::uint32_t, std::uint32_t>>;
  EXPECT_EQ(r.options, (Options{{HttpOption::DisableFeature, HttpOption::DisableCookies},
                                {HttpOption::DisableFeature, HttpOption::DisableRedirects}}));

  const ShownBalloon b = balloons.Last();
  EXPECT_EQ(b.title, "当前账号可用！");
  EXPECT_EQ(b.text,
            "经过测试，该账号可正常使用。\r\n测试网址：http://test.example/\r\n测试时间：345ms。\r\n"
            "如浏览器无法使用，请检查系统代理设置！");
  EXPECT_EQ(b.icon, BalloonIcon::None);
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));
}

TEST_F(SelfCheckTest, NoBodyMeansTheAccountFails) {
  t.diag.http.failStep = "SendRequest";  // the engine does not answer
  RunCheck();
  const ShownBalloon b = balloons.Last();
  EXPECT_EQ(b.title, "当前账号不可用！");
  EXPECT_EQ(b.text,
            "经过测试，该账号无法使用。\r\n测试网址：http://test.example/\r\n测试时间：345ms。\r\n"
            "请尝试多次账号自检，并检查服务器连通性、账号可用性！");
  EXPECT_EQ(b.icon, BalloonIcon::Error);
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));

  t.diag.http.failStep = "";
  t.diag.http.rawHeaders = "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\n\r\n";
  t.diag.http.chunks = {};  // a redirect without a body
  RunCheck();
  EXPECT_EQ(balloons.Last().title, "当前账号不可用！");
}

TEST_F(SelfCheckTest, AnErrorPageStillCountsAsAnAnswer) {
  t.diag.http.rawHeaders = "HTTP/1.1 404 Not Found\r\n\r\n";
  t.diag.http.chunks = {"not found"};
  RunCheck();
  EXPECT_EQ(balloons.Last().title, "当前账号可用！");
}

TEST_F(SelfCheckTest, AnEndlessAnswerAHugeTimeOutOrAThrowingRequestEndInAVerdict) {
  // Proof of an answer needs only its first bytes; reading stops there.
  t.diag.http.chunks = {std::string(1000, 'x')};
  t.diag.http.endless = true;
  t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, "99999999999");
  RunCheck();
  EXPECT_EQ(balloons.Last().title, "当前账号可用！");
  const auto& steps = t.diag.http.Last().steps;
  EXPECT_LE(std::count(steps.begin(), steps.end(), "ReadData"), 66);
  // Seconds that would overflow as milliseconds are cut to the most an int holds.
  EXPECT_EQ(t.diag.http.Last().timeouts.front(), kLongestHttpTimeoutSeconds * 1000);

  t.diag.http.whileSending = [] { throw std::bad_alloc(); };
  RunCheck();
  EXPECT_EQ(balloons.Last().title, "当前账号不可用！");
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));
}

TEST_F(SelfCheckTest, EmptyOrUnusableFieldsFallBackToTheDefaults) {
  for (const char* timeout : {"0", "-5", "abc", ""}) {
    t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, timeout);
    RunCheck();
    EXPECT_EQ(t.diag.http.Last().timeouts.front(), 10000) << timeout;
  }
  t.form.SetText(Ctl::编辑框_账号自检设置_超时时间, "15");
  t.form.SetText(Ctl::编辑框_账号自检设置_测试网址, "");
  RunCheck();
  EXPECT_EQ(t.diag.http.Last().timeouts.front(), 15000);
  EXPECT_EQ(t.diag.http.crackedUrls.back(), "https://www.google.com/");
  EXPECT_EQ(t.diag.http.Last().proxyName, "127.0.0.1:2080");  // https names the proxy plainly
  EXPECT_NE(balloons.Last().text.find("测试网址：https://www.google.com/\r\n"), std::string::npos);
}

TEST_F(SelfCheckTest, Socks5IsRefusedWithAMessageAndTheItemComesBack) {
  t.form.SetMenuChecked(menu::HTTP方式启动, false);
  RunCheck();
  EXPECT_TRUE(t.diag.http.exchanges.empty());
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text, "该功能只能检查 HTTP协议 代理服务器！请切换为 HTTP 方式启动。");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_EQ(balloons.Count(), 0u);
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));
}

TEST_F(SelfCheckTest, AVpnNodeIsRefusedWithoutAThread) {
  t.app.run.protocol = 2;
  StartSelfCheck(t.app);
  EXPECT_EQ(t.diag.workers.started, 0);
  EXPECT_TRUE(t.form.MenuEnabled(menu::账号自检));
  const ShownBalloon b = balloons.Last();
  EXPECT_EQ(b.title, "VPN 模式不支持账号自检！");
  EXPECT_EQ(b.text, "请更换其他协议后，再使用账号自检！");
  EXPECT_EQ(b.icon, BalloonIcon::Error);
}

TEST_F(SelfCheckTest, TheTrayItemStartsTheCheck) {
  t.diag.http.chunks = {"x"};
  OnMenuCommand(t.app, menu::账号自检);
  EXPECT_EQ(t.diag.workers.started, 1);
  t.diag.workers.RunAll();
  EXPECT_EQ(balloons.Last().title, "当前账号可用！");
}

}  // namespace
