#include <string>

#include "ini/ini_document.h"
#include "system_test_fixture.h"

namespace {

const std::string kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr auto kMachine = RegistryRoot::LocalMachine;

class StartAtLogonTest : public SystemTest {
 protected:
  void Click(bool checked) {
    t.form.SetChecked(Ctl::选择框_开机启动, checked);
    OnControlEvent(t.app, Ctl::选择框_开机启动, ControlEvent::Clicked);
  }
  std::string RunSetting() const { return IniDocument::Parse(t.ConfigText()).Get("BasisConfig", "Run", "(none)"); }
  std::optional<std::string> RunValue() const {
    auto value = system.registry.Get(kMachine, kRunKey, "Corvane");
    return value ? std::optional(value->bytes) : std::nullopt;
  }
  void DenyRunKey() { system.registry.lockedKeys.insert("HKLM\\" + kRunKey); }
  std::string QuotedExe() const { return "\"" + t.folder.Path() + "\\corvane.exe\""; }
};

TEST_F(StartAtLogonTest, CheckingRegistersTheQuotedProgramPath) {
  Click(true);
  EXPECT_EQ(RunValue(), QuotedExe());
  EXPECT_EQ(RunSetting(), "true");
  EXPECT_TRUE(t.form.Checked(Ctl::选择框_开机启动));
  EXPECT_TRUE(t.form.messages.empty());

  Click(false);
  EXPECT_FALSE(RunValue());
  EXPECT_EQ(RunSetting(), "false");
}

TEST_F(StartAtLogonTest, CheckingWithoutTheRightIsRefusedAndChangesNothing) {
  t.app.config.Write("BasisConfig", "Run", "false");
  DenyRunKey();
  Click(true);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text,
            "设置开机启动失败！可能是没有权限导致的，请尝试[以管理员方式运行] Corvane 重试。");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_FALSE(t.form.Checked(Ctl::选择框_开机启动));
  EXPECT_FALSE(RunValue());
  EXPECT_EQ(RunSetting(), "false");
}

TEST_F(StartAtLogonTest, UncheckingWithoutTheRightIsRefusedAndKeepsTheValue) {
  system.registry.Put(kMachine, kRunKey, "Corvane", {FakeRegistry::Type::String, "\"D:\\old\\corvane.exe\""});
  t.app.config.Write("BasisConfig", "Run", "true");
  DenyRunKey();
  Click(false);
  ASSERT_EQ(t.form.messages.size(), 1u);
  EXPECT_EQ(t.form.messages[0].text,
            "取消开机启动失败！可能是没有权限导致的，请尝试[以管理员方式运行] Corvane 重试。");
  EXPECT_EQ(t.form.messages[0].title, "错误");
  EXPECT_TRUE(t.form.Checked(Ctl::选择框_开机启动));
  EXPECT_EQ(RunValue(), "\"D:\\old\\corvane.exe\"");
  EXPECT_EQ(RunSetting(), "true");
}

TEST_F(StartAtLogonTest, OnlyTheValueBeingThereDecides) {
  // A value that exists counts as set even when it could not be rewritten.
  system.registry.Put(kMachine, kRunKey, "Corvane", {FakeRegistry::Type::String, "\"D:\\old\\corvane.exe\""});
  DenyRunKey();
  Click(true);
  EXPECT_TRUE(t.form.messages.empty());
  EXPECT_EQ(RunValue(), "\"D:\\old\\corvane.exe\"");
  EXPECT_EQ(RunSetting(), "true");

  // A value that is already gone counts as removed.
  system.registry.lockedKeys.clear();
  system.registry.DeleteValue(kMachine, kRunKey, "Corvane");
  DenyRunKey();
  Click(false);
  EXPECT_TRUE(t.form.messages.empty());
  EXPECT_EQ(RunSetting(), "false");
}

}  // namespace
