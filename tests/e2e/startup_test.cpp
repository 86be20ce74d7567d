// Starting the program: one copy at a time, the caption, the configuration
// file it creates, and what a start from the shell or from elsewhere does.
#include "e2e_test.h"

#include <commctrl.h>

#include "app/window_layout.h"

namespace e2e {
namespace {

class Startup : public E2eTest {};

// The text of the program's tooltip while it is shown; empty when none is.
std::string ShownTooltip(DWORD processId) {
  for (HWND window : TopLevelWindowsOf(processId))
    if (ClassOf(window) == TOOLTIPS_CLASSA && IsWindowVisible(window)) return TextOf(window);
  return "";
}

TEST_F(Startup, SecondCopyIsRefusedWhileTheFirstRunsOn) {
  ProgramRun first = ProgramRun::StartFromShell(exe);
  auto firstWindow = CorvaneWindow::WaitFor(first, kStartTimeout);
  ASSERT_TRUE(firstWindow) << "the first copy never finished starting";
  const std::string configBefore = Config();

  ProgramRun second = ProgramRun::StartQuiet(exe);
  auto box = WaitForMessageBox(second.Id(), kStartTimeout);
  ASSERT_TRUE(box) << "the second copy showed no message";
  EXPECT_EQ(box->text, "不能重复运行Corvane！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));

  EXPECT_EQ(second.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  EXPECT_TRUE(first.Running());
  EXPECT_TRUE(firstWindow->Sync()) << "the first copy no longer answers";
  EXPECT_TRUE(firstWindow->Visible());
  EXPECT_FALSE(ShowsMessageBox(first.Id()));
  EXPECT_EQ(Config(), configBefore);
}

// The first copy ran with rights the second lacks (elevated, say): the
// second cannot open the event, and still knows a copy runs.
TEST_F(Startup, AnEventTheCopyMayNotOpenStillMeansACopyRuns) {
  ACL noOne{};  // a list that grants nothing to anyone
  SECURITY_DESCRIPTOR noAccess{};
  ASSERT_TRUE(InitializeAcl(&noOne, sizeof noOne, ACL_REVISION));
  ASSERT_TRUE(InitializeSecurityDescriptor(&noAccess, SECURITY_DESCRIPTOR_REVISION));
  ASSERT_TRUE(SetSecurityDescriptorDacl(&noAccess, TRUE, &noOne, FALSE));
  SECURITY_ATTRIBUTES attributes{sizeof attributes, &noAccess, FALSE};
  HANDLE held = CreateEventA(&attributes, FALSE, FALSE, "D4dA8UYsda4FGkashdda545");
  ASSERT_NE(held, nullptr);
  ASSERT_EQ(OpenEventA(EVENT_ALL_ACCESS, FALSE, "D4dA8UYsda4FGkashdda545"), nullptr);
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

  ProgramRun copy = ProgramRun::StartQuiet(exe);
  auto box = WaitForMessageBox(copy.Id(), kStartTimeout);
  ASSERT_TRUE(box) << "the copy showed no message";
  EXPECT_EQ(box->text, "不能重复运行Corvane！");
  ASSERT_TRUE(PressOk(*box));
  EXPECT_EQ(copy.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  CloseHandle(held);
}

TEST_F(Startup, TitleCarriesTheVersion) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  EXPECT_EQ(window->Title(), "Corvane    v1.0.10");
  EXPECT_EQ(WaitForWindowTitled(run.Id(), kMainWindowTitle, kActionTimeout), window->Handle());
  EXPECT_EQ(window->StatusText(0), " 当前版本：v1.0.10");
}

// The tooltips are attached once the start is over. A setting's help shows
// where the mouse rests, on an enabled box and on a disabled one, whose
// mouse messages go to its page.
TEST_F(Startup, ASettingsHelpShowsWhereTheMouseRests) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->ShowPage(1));
  ASSERT_FALSE(window->Enabled(Ctl::编辑框_VPN设置_默认网关));
  for (Ctl box : {Ctl::编辑框_本地端口, Ctl::编辑框_VPN设置_默认网关}) {
    RECT place{};
    ASSERT_TRUE(GetWindowRect(window->Control(box), &place));
    SetCursorPos((place.left + place.right) / 2, (place.top + place.bottom) / 2);
    const std::string help = TooltipFor(box);
    EXPECT_TRUE(WaitUntil([&] { return ShownTooltip(run.Id()) == help; }, kActionTimeout))
        << "shown: " << ShownTooltip(run.Id());
  }
}

TEST_F(Startup, MissingConfigurationIsCreatedHoldingAnEmptyEnginePath) {
  ASSERT_FALSE(folder.Exists("config.ini"));
  ProgramRun run = ProgramRun::StartFromShell(exe);
  ASSERT_TRUE(CorvaneWindow::WaitFor(run, kStartTimeout));
  EXPECT_EQ(Config(), "[BasisConfig]\r\nFile=\r\n");
  EXPECT_TRUE(run.Running());
}

TEST_F(Startup, StartFromTheShellShowsTheServerEditorAndLeavesTheEngine) {
  WriteRunnableConfig();
  ProgramRun run = ProgramRun::StartFromShell(exe);
  ASSERT_EQ(ProcessExeName(ParentProcessId(run.Id())), "explorer.exe")
      << "the program must see the shell stand-in as its parent";
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->CurrentPage(), 0);
  EXPECT_TRUE(window->PageVisible(0));
  EXPECT_FALSE(window->PageVisible(1));
  EXPECT_TRUE(window->Enabled(Ctl::按钮_启动));
  EXPECT_EQ(ChildProcess(run.Id(), "brook.exe"), 0u);
  EXPECT_FALSE(folder.Exists("brook-command-line.txt"));
}

TEST_F(Startup, StartFromAnotherProgramStaysHiddenAndStartsTheSavedNode) {
  WriteRunnableConfig();
  ProgramRun run = ProgramRun::StartQuiet(exe);
  ASSERT_NE(ProcessExeName(ParentProcessId(run.Id())), "explorer.exe");
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  // The start waits half a second for the engine while it handles messages.
  EXPECT_TRUE(WaitUntil([&] { return !window->Enabled(Ctl::按钮_启动); }, kActionTimeout)) << "no engine started";
  EXPECT_FALSE(window->Visible());
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_NE(ChildProcess(run.Id(), "brook.exe"), 0u);
  EXPECT_EQ(window->StatusText(1), "   状态：正在运行");
  const std::string commandLine = folder.Read("brook-command-line.txt").value_or("");
  EXPECT_NE(commandLine.find("127.0.0.1:9001"), std::string::npos) << commandLine;
  EXPECT_NE(commandLine.find("-l 127.0.0.1:" + LocalPort()), std::string::npos) << commandLine;
  // The tray icon is the way to the window: it is in place.
  EXPECT_NE(window->Property("CallbackMessage"), nullptr);
}

TEST_F(Startup, StartFromAnotherProgramWithoutEngineStaysHidden) {
  ProgramRun run = ProgramRun::StartQuiet(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  // The quiet start still checks the fields, and the engine path is empty.
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, "文件位置 不能为空！ \r\n文件位置指的是 Brook Windows命令行版客户端的位置。");
  ASSERT_TRUE(PressOk(*box));
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(window->Visible());
  EXPECT_TRUE(window->Enabled(Ctl::按钮_启动));
  EXPECT_TRUE(run.Running());
}

}  // namespace
}  // namespace e2e
