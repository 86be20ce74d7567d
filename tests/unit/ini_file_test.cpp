#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ini/ini_file.h"
#include "fakes/fake_platform.h"

namespace {

struct IniFileTest : ::testing::Test {
  TempFolder folder;
  DiskFileSystem files;
  IniFile ini{files};
  void SetUp() override { ini.SetPath(folder.Path() + "\\config.ini"); }
  bool OnlyConfigInFolder() const { return folder.Names() == std::vector<std::string>{"config.ini"}; }
};

TEST_F(IniFileTest, WriteCreatesTheFileAndKeepsForeignKeys) {
  EXPECT_EQ(ini.Read("BasisConfig", "File", "none"), "none");
  ASSERT_TRUE(ini.Write("BasisConfig", "File", ""));
  EXPECT_EQ(folder.Read("config.ini"), "[BasisConfig]\r\nFile=\r\n");

  // Someone else adds a key between two writes of the program.
  folder.Write("config.ini", folder.Read("config.ini") + "Theirs=1\r\n");
  ASSERT_TRUE(ini.Write("BasisConfig", "File", "C:\\b\\brook.exe"));
  EXPECT_EQ(folder.Read("config.ini"), "[BasisConfig]\r\nFile=C:\\b\\brook.exe\r\nTheirs=1\r\n");
  EXPECT_TRUE(OnlyConfigInFolder());
}

TEST_F(IniFileTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
  const std::string old = "[BasisConfig]\r\nFile=old\r\n";
  folder.Write("config.ini", old);

  files.unreadable.insert(ini.Path());
  EXPECT_FALSE(ini.Write("BasisConfig", "File", "new"));
  EXPECT_EQ(folder.Read("config.ini"), old);
  files.unreadable.clear();

  files.diskFull = true;
  EXPECT_FALSE(ini.Write("BasisConfig", "File", "new"));
  EXPECT_EQ(folder.Read("config.ini"), old);
  files.diskFull = false;

  std::filesystem::permissions(folder.File("config.ini"), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read);
  EXPECT_FALSE(ini.Write("BasisConfig", "File", "new"));
  EXPECT_EQ(folder.Read("config.ini"), old);
  EXPECT_TRUE(OnlyConfigInFolder());
}

TEST_F(IniFileTest, UpdateIsOneReadAndOneWrite) {
  ASSERT_TRUE(ini.Update([](IniDocument& doc) {
    for (std::string i : {"1", "2", "3"}) doc.Set("Node", "Node" + i, "n" + i);
  }));
  EXPECT_EQ(folder.Read("config.ini"), "[Node]\r\nNode1=n1\r\nNode2=n2\r\nNode3=n3\r\n");
  ASSERT_TRUE(ini.DeleteSection("Node"));
  EXPECT_EQ(folder.Read("config.ini"), "");
}

}  // namespace
