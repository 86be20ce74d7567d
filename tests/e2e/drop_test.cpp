// Files dropped on the window choose the engine: only "brook.exe" is taken.
#include "e2e_test.h"

namespace e2e {
namespace {

class Drop : public E2eTest {};

TEST_F(Drop, EngineNameInAnotherCaseIsRefusedNamingTheFile) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);

  ASSERT_TRUE(window->DropFiles({folder.PathOf("Brook.exe")}));
  auto box = WaitForMessageBox(run.Id(), kActionTimeout);
  ASSERT_TRUE(box) << "no message for the refused file";
  EXPECT_EQ(box->text,
            "拖放文件只支持文件名：brook.exe ，当前拖放的文件名为：Brook.exe，"
            "请确保是 Brook命令行版客户端(不带钥匙图标)，如果是 请重命名！");
  EXPECT_EQ(box->title, "错误");
  ASSERT_TRUE(PressOk(*box));

  ASSERT_TRUE(window->Sync());
  EXPECT_EQ(window->Text(Ctl::编辑框_文件位置), "");
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "File"), "");
}

TEST_F(Drop, EngineFromAnyFolderIsTaken) {
  ProgramRun run = ProgramRun::StartFromShell(exe);
  auto window = CorvaneWindow::WaitFor(run, kStartTimeout);
  ASSERT_TRUE(window);
  const std::string engine = folder.PathOf("引擎 目录\\brook.exe");

  ASSERT_TRUE(window->DropFiles({engine}));
  EXPECT_TRUE(WaitUntil([&] { return window->Text(Ctl::编辑框_文件位置) == engine; }, kActionTimeout))
      << "shows: " << window->Text(Ctl::编辑框_文件位置);
  ASSERT_TRUE(window->Sync());
  EXPECT_FALSE(ShowsMessageBox(run.Id()));
  EXPECT_EQ(IniValue(Config(), "BasisConfig", "File"), engine);
}

}  // namespace
}  // namespace e2e
