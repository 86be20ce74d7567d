#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
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

  // No room for the new copy, nor for the file to grow.
  files.diskFull = true;
  EXPECT_FALSE(ini.Write("BasisConfig", "File", "longer"));
  EXPECT_EQ(folder.Read("config.ini"), old);
  files.diskFull = false;

  std::filesystem::permissions(folder.File("config.ini"), std::filesystem::perms::owner_read |
                                                             std::filesystem::perms::group_read);
  const FileResult readOnly = ini.Write("BasisConfig", "File", "new");
  EXPECT_FALSE(readOnly);
  EXPECT_EQ(readOnly.file, ini.Path());
  EXPECT_EQ(readOnly.reason, "拒绝访问。");
  EXPECT_EQ(folder.Read("config.ini"), old);
  EXPECT_TRUE(OnlyConfigInFolder());
  // Writing what the file already holds rewrites nothing, so it is no error.
  EXPECT_TRUE(ini.Write("BasisConfig", "File", "old"));
}

TEST_F(IniFileTest, WithoutAFileOfItsOwnTheSaveGoesInPlace) {
  // A folder that grants writing config.ini but creating no file.
  folder.Write("config.ini", "[BasisConfig]\r\nFile=old\r\n");
  files.folderDeniesCreate = true;
  EXPECT_TRUE(ini.Write("BasisConfig", "File", "granted"));
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "granted");
  files.folderDeniesCreate = false;
  // A folder in the way of the temporary copy.
  std::filesystem::create_directory(folder.File("config.ini.new"));
  EXPECT_TRUE(ini.Write("BasisConfig", "File", "in the way"));
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "in the way");
  std::filesystem::remove(folder.File("config.ini.new"));
  EXPECT_EQ(files.replaced, 0u);

  // A link keeps its target, a hard link its other name.
  ASSERT_TRUE(ini.Write("BasisConfig", "File", "replaced"));
  EXPECT_EQ(files.replaced, 1u);
  std::filesystem::rename(folder.File("config.ini"), folder.File("target.ini"));
  std::filesystem::create_symlink("target.ini", folder.File("config.ini"));
  ASSERT_TRUE(ini.Write("BasisConfig", "File", "through the link"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder.File("config.ini")));
  EXPECT_EQ(folder.Read("target.ini"), "[BasisConfig]\r\nFile=through the link\r\n");
  std::filesystem::remove(folder.File("config.ini"));
  std::filesystem::create_hard_link(folder.File("target.ini"), folder.File("config.ini"));
  ASSERT_TRUE(ini.Write("BasisConfig", "File", "both names"));
  EXPECT_EQ(folder.Read("target.ini"), "[BasisConfig]\r\nFile=both names\r\n");
  EXPECT_EQ(files.replaced, 1u);
}

TEST_F(IniFileTest, AWriteRefusedHalfWayKeepsTheCompleteCopyForTheNextStart) {
  const std::string old = "[BasisConfig]\r\nFile=old\r\n";
  const std::string whole = "[BasisConfig]\r\nFile=C:\\a much longer path\\brook.exe\r\n";
  folder.Write("config.ini", old);
  files.heldShared.insert(ini.Path());
  files.inPlaceRefusedAfter = 20;
  const FileResult cut = ini.Write("BasisConfig", "File", "C:\\a much longer path\\brook.exe");
  EXPECT_TRUE(!cut && cut.partial);
  EXPECT_EQ(cut.copy, ini.Path() + ".complete");
  EXPECT_EQ(folder.Read("config.ini.complete"), whole);
  EXPECT_NE(folder.Read("config.ini"), old);
  // Another change in the same run builds on the copy, not on the cut file.
  EXPECT_FALSE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini.complete"), whole + "Run=true\r\n");

  // The next start puts the copy back, and reads it.
  files.heldShared.clear();
  files.inPlaceRefusedAfter.reset();
  IniFile next{files};
  next.SetPath(ini.Path());
  EXPECT_EQ(next.LoadAtStart(nullptr).Get("BasisConfig", "Run", ""), "true");
  EXPECT_EQ(folder.Read("config.ini"), whole + "Run=true\r\n");
  EXPECT_TRUE(OnlyConfigInFolder());

  // A copy the file already matches just goes; one beside a file that
  // cannot be read stays, and so does the killed save's temporary copy.
  folder.Write("config.ini.complete", folder.Read("config.ini"));
  next.LoadAtStart(nullptr);
  EXPECT_TRUE(OnlyConfigInFolder());
  folder.Write("config.ini.complete", whole);
  folder.Write("config.ini.new", "[Basis");
  files.unreadable.insert(ini.Path());
  std::string why;
  next.LoadAtStart(&why);
  EXPECT_EQ(why, "拒绝访问。");
  EXPECT_EQ(folder.Names().size(), 3u);
}

TEST_F(IniFileTest, AFileHeldByAnotherProgramIsWrittenInPlaceOrTriedBriefly) {
  folder.Write("config.ini", "[BasisConfig]\r\nFile=old\r\n");
  files.heldShared.insert(ini.Path());
  EXPECT_TRUE(ini.Write("BasisConfig", "File", "shared"));
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "shared");
  files.heldShared.clear();
  files.heldAlone[ini.Path()] = 300;  // a scan that lets go
  EXPECT_TRUE(ini.Write("BasisConfig", "File", "scanned"));
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "scanned");

  files.paused = 0;
  files.heldAlone[ini.Path()] = UINT_MAX;
  const FileResult held = ini.Write("BasisConfig", "File", "never");
  EXPECT_TRUE(!held && held.busy && held.file == ini.Path());
  EXPECT_LT(files.paused, 1000u);
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "scanned");
  EXPECT_TRUE(OnlyConfigInFolder());

  files.paused = 0;
  ini.StopWaiting();
  EXPECT_FALSE(ini.Write("BasisConfig", "File", "never"));
  EXPECT_EQ(files.paused, 0u);
}

TEST_F(IniFileTest, Utf8AndUtf16FilesAreReadAndKeepTheirEncoding) {
  // "路径" and a rocket, which GBK cannot hold, in UTF-8 and in UTF-16 LE.
  const std::string utf8 = "\xEF\xBB\xBF[BasisConfig]\r\nFile=C:\\\xE8\xB7\xAF\xE5\xBE\x84\r\nNote=\xF0\x9F\x9A\x80\r\n";
  folder.Write("config.ini", utf8);
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "C:\\路径");
  ASSERT_TRUE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini"), utf8 + "Run=true\r\n");

  auto utf16 = [](std::string_view ascii) {
    std::string out;
    for (char c : ascii) out.append({c, '\0'});
    return out;
  };
  const std::string wide = "\xFF\xFE" + utf16("[BasisConfig]\r\nFile=") + "\xEF\x8D" + utf16("\r\nNote=") +
                           "\x3D\xD8\x80\xDE" + utf16("\r\n");  // U+8DEF "路", U+1F680
  folder.Write("config.ini", wide);
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "路");
  ASSERT_TRUE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini"), wide + utf16("Run=true\r\n"));
  ASSERT_TRUE(ini.Write("BasisConfig", "Note", "x"));
  EXPECT_EQ(ini.Read("BasisConfig", "Note", ""), "x");

  const std::string gbkFile = "[BasisConfig]\nFile=D:\\工具\\brook.exe\n";
  folder.Write("config.ini", gbkFile);
  ASSERT_TRUE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini"), gbkFile + "Run=true\r\n");
}

TEST_F(IniFileTest, UtfLinesKeepTheirOwnBytesAndMarks) {
  // A genuine "?" line, then two characters GBK cannot hold that both read
  // as "?"; "路径" says the file without a mark is read as UTF-8.
  const std::string noMark = "[A]\nX=?\n[B]\nX=\xF0\x9F\x98\x80\n[C]\nX=\xF0\x9F\x9A\x80\n"
                             "[BasisConfig]\nFile=C:\\\xE8\xB7\xAF\xE5\xBE\x84\n";
  folder.Write("config.ini", noMark);
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "C:\\路径");
  ASSERT_TRUE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini"), noMark + "Run=true\r\n");

  auto utf16be = [](std::string_view ascii) {
    std::string out;
    for (char c : ascii) out.append({'\0', c});
    return out;
  };
  const std::string bigEndian = "\xFE\xFF" + utf16be("[BasisConfig]\r\nFile=") + "\x8D\xEF" + utf16be("\r\n");
  folder.Write("config.ini", bigEndian);
  EXPECT_EQ(ini.Read("BasisConfig", "File", ""), "路");
  ASSERT_TRUE(ini.Write("BasisConfig", "Run", "true"));
  EXPECT_EQ(folder.Read("config.ini"), bigEndian + utf16be("Run=true\r\n"));
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
