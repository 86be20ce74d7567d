#include <string>

#include "context/tray_menu_layout.h"
#include "update/maker_addresses.h"
#include "system_test_fixture.h"

namespace {

class InfoActionsTest : public SystemTest {};

TEST_F(InfoActionsTest, AboutShowsTheVersionAndTheSite) {
  OnMenuCommand(t.app, menu::关于);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].title, "关于");
  EXPECT_EQ(t.form.messages[0].text, std::string("当前版本：v1.0.10\r\n官方网站：") + CORVANE_SITE_URL + "\r\n");
}

TEST_F(InfoActionsTest, HelpAndDonationOpenTheirPages) {
  OnMenuCommand(t.app, menu::使用方法);
  OnMenuCommand(t.app, menu::捐赠);
  EXPECT_EQ(system.shell.opened, (std::vector<std::string>{CORVANE_HELP_URL, CORVANE_DONATE_URL}));
  EXPECT_TRUE(t.form.messages.empty());
}

TEST_F(InfoActionsTest, TheDonationItemIsHiddenButBound) {
  const MenuItemSpec* donate = FindMenuItem(menu::捐赠);
  ASSERT_NE(donate, nullptr);
  EXPECT_FALSE(donate->visible);
  EXPECT_TRUE(FindMenuItem(menu::使用方法)->visible);
  EXPECT_TRUE(FindMenuItem(menu::关于)->visible);
}

TEST_F(InfoActionsTest, TheProxyModeItemsChooseTheirMode) {
  OnMenuCommand(t.app, menu::全局模式);
  EXPECT_TRUE(t.form.MenuChecked(menu::全局模式));
  OnMenuCommand(t.app, menu::直连模式);
  EXPECT_TRUE(t.form.MenuChecked(menu::直连模式));
  OnMenuCommand(t.app, menu::PAC模式);
  EXPECT_TRUE(t.form.MenuChecked(menu::PAC模式));
  EXPECT_FALSE(t.form.MenuChecked(menu::直连模式));
}

}  // namespace
