// Closing only hides the window; the tray brings it back; "退出" saves and
// ends the program.
#include "context/tray_menu_layout.h"
#include "e2e_test.h"

namespace e2e {
namespace {

class Lifecycle : public E2eTest {};

TEST_F(Lifecycle, CloseBoxHidesTheWindowAndTheProgramRunsOn) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_TRUE(window->Visible());

  window->Close();
  EXPECT_TRUE(WaitUntil([&] { return !window->Visible(); }, kActionTimeout));
  ASSERT_TRUE(window->Sync());
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(IsWindow(window->Handle()));

  // The message a window gets when it is asked to close by other means.
  PostMessageA(window->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(window->Visible());
  EXPECT_TRUE(run.Running());
}

// Hidden by its close box or minimised, the window comes back on the first
// page, restored and in front, on a tray click or "编辑服务器...".
TEST_F(Lifecycle, HiddenOrMinimisedWindowComesBackOnTheFirstPage) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  HWND shown = window->Handle();
  for (bool minimise : {false, true}) {
    for (bool fromMenu : {false, true}) {
      SCOPED_TRACE(std::string(minimise ? "minimised, " : "hidden, ") + (fromMenu ? "\"编辑服务器...\"" : "tray click"));
      ASSERT_TRUE(window->ShowPage(1));
      if (minimise)
        ShowWindowAsync(shown, SW_MINIMIZE);
      else
        window->Close();
      ASSERT_TRUE(WaitUntil([&] { return minimise ? IsIconic(shown) != 0 : !window->Visible(); }, kActionTimeout));
      if (fromMenu)
        window->Command(menu::编辑服务器);
      else
        window->TrayEvent(kTrayLeftButtonUp);
      EXPECT_TRUE(WaitUntil([&] { return window->Visible() && !IsIconic(shown); }, kActionTimeout));
      EXPECT_EQ(window->CurrentPage(), 0);
      EXPECT_TRUE(window->PageVisible(0));
    }
  }
}

TEST_F(Lifecycle, ExitSavesTheNodesAndTheFurtherSettingsAndEnds) {
  folder.Write("config.ini",
               "[BasisConfig]\r\nFile=\r\n"
               "[NodeList]\r\nNum=2\r\nSelect node=1\r\n"
               "[Node]\r\nNode1=10.0.0.1 9001 alpha 0 first\r\nNode2=10.0.0.2 9002 beta 1 second\r\n");
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  ASSERT_EQ(window->Rows().size(), 2u);
  ASSERT_EQ(window->SelectedRow(), 1);
  // Edits not saved by hand yet: the exit saves them.
  ASSERT_TRUE(window->SetText(Ctl::编辑框_服务器备注, "edited"));
  ASSERT_TRUE(window->SetText(Ctl::编辑框_账号自检设置_超时时间, "25"));

  window->Command(menu::退出);
  EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));

  const std::string config = Config();
  EXPECT_EQ(IniValue(config, "NodeList", "Num"), "2");
  EXPECT_EQ(IniValue(config, "NodeList", "Select node"), "1");
  EXPECT_EQ(IniKeys(config, "Node"), (std::vector<std::string>{"Node1", "Node2"}));
  EXPECT_EQ(IniValue(config, "Node", "Node1"), "10.0.0.1 9001 alpha 0 first");
  EXPECT_EQ(IniValue(config, "Node", "Node2"), "10.0.0.2 9002 beta 1 edited");
  EXPECT_EQ(IniValue(config, "MoreSettings", "Timeout"), "25");
  EXPECT_TRUE(IniValue(config, "MoreSettings", "Test URL"));
  EXPECT_EQ(IniValue(config, "BasisConfig", "Local port"), "2080");
  EXPECT_EQ(IniValue(config, "BasisConfig", "Run Mode"), "HTTP");
}

// The engine ends with the program, however it ends: "退出", or the end of
// the session. A session that goes on leaves the program working, "退出"
// included; a close asked for by Windows ends it.
TEST_F(Lifecycle, TheEngineEndsWithTheProgramOrTheSession) {
  WriteRunnableConfig();
  enum class End { Exit, SessionEnds, CloseAsked };
  for (End end : {End::Exit, End::SessionEnds, End::CloseAsked}) {
    SCOPED_TRACE(static_cast<int>(end));
    ProgramRun run = ProgramRun::StartQuiet(exe);
    auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return ChildProcess(run.Id(), "brook.exe") != 0; }, kActionTimeout));
    HANDLE engine = OpenProcess(SYNCHRONIZE, FALSE, ChildProcess(run.Id(), "brook.exe"));
    ASSERT_NE(engine, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !window->Enabled(Ctl::按钮_启动); }, kActionTimeout));

    if (end == End::Exit)
      window->Command(menu::退出);
    else
      SendMessageTimeoutA(window->Handle(), WM_ENDSESSION, TRUE, end == End::CloseAsked ? ENDSESSION_CLOSEAPP : 0,
                          SMTO_ABORTIFHUNG, kActionTimeout, nullptr);
    EXPECT_EQ(WaitForSingleObject(engine, kActionTimeout), WAIT_OBJECT_0) << "the engine outlived the program";
    CloseHandle(engine);
    if (end == End::SessionEnds) {
      ASSERT_TRUE(window->Sync());
      EXPECT_TRUE(run.Running());
      window->Command(menu::退出);
    }
    EXPECT_EQ(run.WaitForExit(kActionTimeout), std::optional<DWORD>(0));
  }
}

}  // namespace
}  // namespace e2e
