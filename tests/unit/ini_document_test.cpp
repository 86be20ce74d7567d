#include <gtest/gtest.h>

#include "ini/ini_document.h"
#include "shared/gbk_text.h"

namespace {

const std::string kFile =
    "; written by hand\r\n"
    "[BasisConfig]\r\n"
    "File=C:\\brook\\brook.exe\r\n"
    "  Local port = 2080  \r\n"
    "Empty=\r\n"
    "Unknown=kept\r\n"
    "\r\n"
    "[NodeList]\r\n"
    "Num=2\r\n";

TEST(IniDocument, ReadsLikePrivateProfile) {
  IniDocument doc = IniDocument::Parse(kFile);
  EXPECT_EQ(doc.Get("BasisConfig", "File", "x"), "C:\\brook\\brook.exe");
  EXPECT_EQ(doc.Get("basisconfig", "LOCAL PORT", "x"), "2080");  // names ignore case, values trimmed
  EXPECT_EQ(doc.Get("BasisConfig", "Empty", "default"), "");     // present but empty: no default
  EXPECT_EQ(doc.Get("BasisConfig", "Missing", "default"), "default");
  EXPECT_EQ(doc.Get("NoSuchSection", "File", "d"), "d");
  EXPECT_FALSE(doc.Get("BasisConfig", "; written by hand").has_value());
}

TEST(IniDocument, FirstOfDuplicateSectionsAndKeysWins) {
  IniDocument doc = IniDocument::Parse("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
  EXPECT_EQ(doc.Get("A", "k", ""), "1");
  EXPECT_EQ(doc.Get("A", "j", "none"), "none");
  doc.Set("A", "K", "9");
  EXPECT_EQ(doc.Serialize(), "[A]\nk=9\nk=2\n[a]\nk=3\nj=4\n");
}

TEST(IniDocument, ReadStopsAt10239Bytes) {
  IniDocument doc = IniDocument::Parse("[S]\nk=" + std::string(20000, 'v') + "\n");
  EXPECT_EQ(doc.Get("S", "k", "").size(), 10239u);
}

TEST(IniDocument, UnchangedDocumentRoundTripsByteForByte) {
  const std::string odd = "junk before\n[S]\r\nk = v \n;c=1\nnoequals\n\n[T]\nlast=no newline";
  EXPECT_EQ(IniDocument::Parse(odd).Serialize(), odd);
  EXPECT_EQ(IniDocument::Parse(kFile).Serialize(), kFile);
}

TEST(IniDocument, WriteReplacesOnlyTheValueOfTheFirstMatch) {
  IniDocument doc = IniDocument::Parse(kFile);
  doc.Set("basisconfig", "local PORT", "1080");
  std::string expected = kFile;
  expected.replace(expected.find("  Local port = 2080  "), 21, "  Local port =1080");
  EXPECT_EQ(doc.Serialize(), expected);
}

TEST(IniDocument, NewKeyGoesAfterTheLastKeyOfItsSection) {
  IniDocument doc = IniDocument::Parse(kFile);
  doc.Set("BasisConfig", "Run", "true");
  std::string expected = kFile;
  expected.insert(expected.find("\r\n\r\n[NodeList]") + 2, "Run=true\r\n");
  EXPECT_EQ(doc.Serialize(), expected);
}

TEST(IniDocument, NewSectionGoesAtTheEnd) {
  IniDocument doc = IniDocument::Parse("[A]\r\nk=1");  // no final line break
  doc.Set("MoreSettings", "Timeout", "10");
  EXPECT_EQ(doc.Serialize(), "[A]\r\nk=1\r\n[MoreSettings]\r\nTimeout=10\r\n");

  IniDocument empty;
  empty.Set("BasisConfig", "File", "");
  EXPECT_EQ(empty.Serialize(), "[BasisConfig]\r\nFile=\r\n");
}

TEST(IniDocument, DeleteSectionRemovesEveryCopyAndItsLines) {
  IniDocument doc = IniDocument::Parse("[Node]\nNode1=a\n[Keep]\nx=1\n[NODE]\nNode2=b\n");
  doc.DeleteSection("node");
  EXPECT_EQ(doc.Serialize(), "[Keep]\nx=1\n");
  EXPECT_FALSE(doc.Get("Node", "Node2").has_value());
}

TEST(IniDocument, LineBreaksInAValueCannotAddKeys) {
  IniDocument doc;
  doc.Set("S", "k", "a\r\n[Evil]\r\nx=1");
  EXPECT_EQ(doc.Get("S", "k", ""), "a[Evil]x=1");
  EXPECT_FALSE(doc.Get("Evil", "x").has_value());
}

TEST(IniDocument, SectionNamesWithDoubleByteCharacters) {
  // "\xB1\x5D" is one GBK character whose trail byte is ']'.
  IniDocument doc = IniDocument::Parse("[\xB1\x5D" "A]\nk=1\n");
  EXPECT_EQ(doc.Get("\xB1\x5D" "a", "K", ""), "1");
  // Two characters whose trail bytes are 'A' and 'a' are different names.
  doc = IniDocument::Parse("[\x81\x41]\nk=upper\n[\x81\x61]\nk=lower\n");
  EXPECT_EQ(doc.Get("\x81\x61", "k", ""), "lower");
  EXPECT_EQ(doc.Get("\x81\x41", "k", ""), "upper");
  EXPECT_EQ(gbk::AsciiLower("\x81\x41" "B"), "\x81\x41" "b");
}

TEST(IniDocument, CommentLinesAreNoKeysAndStayWhereTheyAre) {
  IniDocument doc = IniDocument::Parse("[S]\r\na=1\r\n;old=2\r\n[T]\r\n");
  EXPECT_FALSE(doc.Get("S", ";old").has_value());
  EXPECT_FALSE(doc.Get("S", "old").has_value());
  EXPECT_EQ(doc.Keys("S"), std::vector<std::string>{"a"});
  doc.Set("S", "a", "9");
  doc.Set("S", "old", "3");
  EXPECT_EQ(doc.Serialize(), "[S]\r\na=9\r\nold=3\r\n;old=2\r\n[T]\r\n");
}

}  // namespace
