#include <cstdlib>
#include <string>

#include "app/events.h"
#include "app/startup.h"
#include "context/tray_menu_layout.h"
#include "update/maker_addresses.h"
#include "update/update_check.h"
#include "update/update_decision.h"
#include "system_test_fixture.h"

namespace {

TEST(UpdateDecision, NewerOnlyWithADifferentVersionAndABuildAboveEleven) {
  EXPECT_TRUE(IsNewerRelease("1.0.11", "12"));
  EXPECT_TRUE(IsNewerRelease("2.0", "300"));
  // This program's own version text is never newer, whatever the build.
  EXPECT_FALSE(IsNewerRelease("1.0.10", "99"));
  for (const char* old : {"11", "10", "0", "-12", "abc", " "}) EXPECT_FALSE(IsNewerRelease("1.0.11", old)) << old;
  // The build number is read like atoi, full-width digits as ASCII ones.
  EXPECT_TRUE(IsNewerRelease("1.0.11", "12abc"));
  EXPECT_TRUE(IsNewerRelease("1.0.11", "１２"));
  EXPECT_TRUE(IsNewerRelease("1.0.11", "  +12"));
  EXPECT_FALSE(IsNewerRelease("1.0.11", "１１"));
  // Both keys must be there.
  EXPECT_FALSE(IsNewerRelease("", "12"));
  EXPECT_FALSE(IsNewerRelease("1.0.11", ""));
}

class UpdateCheckTest : public SystemTest {
 protected:
  void ServeVersionFile(const std::string& body) { system.downloader.bodies[VersionServerBase() + "/Ver.ini"] = body; }
  std::string StartTitle() const { return "Corvane    v1.0.10"; }
  void CheckNow() {
    StartUpdateCheck(t.app);
    system.workers.RunAll();
  }
};

TEST_F(UpdateCheckTest, ANewerReleaseShowsInABalloonAndTheTitle) {
  t.form.SetTitle(StartTitle());
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  CheckNow();
  EXPECT_EQ(t.form.Title(), "Corvane    v1.0.10    发现新版本：v1.0.11");
  ASSERT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(Balloons()[0].title, "Corvane 发现新版本 v1.0.11 ！");
  EXPECT_EQ(Balloons()[0].text, std::string("请前往更新：") + CORVANE_HELP_URL);
  EXPECT_EQ(Balloons()[0].kind, BalloonIcon::None);
  EXPECT_FALSE(HasFile("Ver.ini"));
}

TEST_F(UpdateCheckTest, NoNewerReleaseShowsNothingAndLeavesNoVersionFile) {
  t.form.SetTitle(StartTitle());
  for (const char* body : {"[Corvane]\r\n最新版本=1.0.10\r\n版本号=99\r\n",
                           "[Corvane]\r\n最新版本=1.0.11\r\n版本号=11\r\n",
                           "[Other]\r\n最新版本=1.0.11\r\n版本号=12\r\n",
                           "<html>404 Not Found</html>"}) {
    ServeVersionFile(body);
    CheckNow();
    EXPECT_EQ(t.form.Title(), StartTitle()) << body;
    EXPECT_FALSE(HasFile("Ver.ini")) << body;
  }
  EXPECT_TRUE(Balloons().empty());
}

TEST_F(UpdateCheckTest, AnEmptyAnswerStillRemovesAnOldVersionFile) {
  t.folder.Write("Ver.ini", "[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  CheckNow();  // the server gives nothing
  EXPECT_FALSE(HasFile("Ver.ini"));
  EXPECT_TRUE(Balloons().empty());
}

TEST_F(UpdateCheckTest, OfflineNothingIsFetched) {
  system.connectivity.online = false;
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  StartUpdateWorkers(t.app);
  system.workers.RunAll();
  EXPECT_TRUE(system.downloader.requested.empty());
  EXPECT_TRUE(Balloons().empty());
  EXPECT_EQ(state.PacSourceHost(), CORVANE_DEFAULT_PAC_HOST);  // a PAC download still has a host
}

TEST_F(UpdateCheckTest, AFailedLocalCopyReadsAsNoRelease) {
  t.files.diskFull = true;
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  CheckNow();
  EXPECT_TRUE(Balloons().empty());
  EXPECT_FALSE(HasFile("Ver.ini"));
}

TEST_F(UpdateCheckTest, ACheckAskedForWhileOneRunsIsDropped) {
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  OnMenuCommand(t.app, menu::检查更新);
  OnMenuCommand(t.app, menu::检查更新);
  EXPECT_EQ(system.workers.started, 1);
  system.workers.RunAll();
  EXPECT_EQ(Balloons().size(), 1u);

  OnMenuCommand(t.app, menu::检查更新);  // the first one has ended
  system.workers.RunAll();
  EXPECT_EQ(system.workers.started, 2);
  EXPECT_EQ(Balloons().size(), 2u);
}

TEST_F(UpdateCheckTest, TheVersionServerCanBeNamedByTheEnvironment) {
  setenv("CORVANE_VERSION_SERVER", "http://127.0.0.1:8123", 1);
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  CheckNow();
  unsetenv("CORVANE_VERSION_SERVER");
  EXPECT_EQ(system.downloader.requested, std::vector<std::string>{"http://127.0.0.1:8123/Ver.ini"});
  EXPECT_EQ(Balloons().size(), 1u);
  EXPECT_EQ(VersionServerBase(), CORVANE_VERSION_SERVER);
}

TEST_F(UpdateCheckTest, ThePacSourceHostIsTrimmedAndMustBeAHostElseTheDefault) {
  const std::string address = VersionServerBase() + "/new_softs.txt";
  const auto hostFrom = [&](DownloadAnswer answer) {
    state.SetPacSourceHost("before");
    system.downloader.answers[address] = std::move(answer);
    FetchPacSourceHost(t.app);
    return state.PacSourceHost();
  };
  EXPECT_EQ(hostFrom({200, " pac.example.org\r\n"}), "pac.example.org");
  EXPECT_EQ(hostFrom({200, "pac-2.example.org:8443\n"}), "pac-2.example.org:8443");
  EXPECT_EQ(hostFrom({200, "http://127.0.0.1:8080"}), "http://127.0.0.1:8080");  // a server on this machine
  for (const char* notAHost : {"<html><body>Login</body></html>", "pac.example.org/Other", "http://pac.example.org",
                               "https://10.0.0.1:80", "pac.example.org:99999", "a b", "-x.org", ""})
    EXPECT_EQ(hostFrom({200, notAHost}), CORVANE_DEFAULT_PAC_HOST) << notAHost;
  // An error status, or an answer too long to be a host, is no answer.
  EXPECT_EQ(hostFrom({404, "pac.example.org"}), CORVANE_DEFAULT_PAC_HOST);
  EXPECT_EQ(hostFrom({200, "a" + std::string(kDownloadLimit, 'a')}), CORVANE_DEFAULT_PAC_HOST);

  // A version file behind an error status is no version file.
  t.form.SetTitle(StartTitle());
  system.downloader.answers[VersionServerBase() + "/Ver.ini"] = {500, "[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n"};
  CheckNow();
  EXPECT_EQ(t.form.Title(), StartTitle());
  EXPECT_TRUE(Balloons().empty());

  // A check that throws still ends, so the next one runs.
  system.downloader.throws.insert(VersionServerBase() + "/Ver.ini");
  CheckNow();
  system.downloader.throws.clear();
  system.downloader.answers.clear();
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  CheckNow();
  EXPECT_EQ(t.form.Title(), "Corvane    v1.0.10    发现新版本：v1.0.11");
}

TEST_F(UpdateCheckTest, StartupRunsBothFetchesOnWorkers) {
  ServeVersionFile("[Corvane]\r\n最新版本=1.0.11\r\n版本号=12\r\n");
  system.downloader.bodies[VersionServerBase() + "/new_softs.txt"] = "pac.example.org";
  // Started from the shell: a quiet start of the engine would start more work.
  t.processes.processes = {{10, "explorer.exe", 1}, {20, "corvane.exe", 10}};
  ASSERT_EQ(RunStartupSequence(t.app), StartupResult::Continue);
  EXPECT_EQ(system.workers.started, 2);
  EXPECT_TRUE(system.downloader.requested.empty());
  system.workers.RunAll();
  EXPECT_EQ(state.PacSourceHost(), "pac.example.org");
  EXPECT_EQ(t.form.Title(), "Corvane    v1.0.10    发现新版本：v1.0.11");
}

}  // namespace
