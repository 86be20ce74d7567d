#include "diag/regex_matcher.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

TEST(RegexMatcher, FindsTheCharsetThatAPageDeclares) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match(kCharsetPattern, "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html\">\r\n"
                                       "<meta charset=\"utf-8\"></head>"));
  EXPECT_EQ(m.SubMatchText(1, 1), "utf-8");

  ASSERT_TRUE(m.Match(kCharsetPattern, "<HTML><META HTTP-EQUIV=Content-Type CONTENT=\"text/html; CHARSET=GBK\">"));
  EXPECT_EQ(m.SubMatchText(1, 1), "GBK");

  EXPECT_TRUE(m.Match(kCharsetPattern, "<html><body>no declaration</body></html>"));
  EXPECT_EQ(m.MatchCount(), 0);
  EXPECT_EQ(m.SubMatchText(1, 1), "");
}

TEST(RegexMatcher, QuoteSubstitutionPutsADoubleQuoteInThePattern) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match("value=#引号(\\w+)#引号", "value=\"abc\"", false, true, true, true));
  EXPECT_EQ(m.GetPattern(), "value=\"(\\w+)\"");
  EXPECT_EQ(m.SubMatchText(1, 1), "abc");
  ASSERT_TRUE(m.Match("value=#引号(\\w+)", "value=\"abc\""));
  EXPECT_EQ(m.MatchCount(), 0);
  EXPECT_EQ(m.GetPattern(), "value=#引号(\\w+)");
}

TEST(RegexMatcher, PositionsAreByteOffsetsIntoTheGbkText) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match("abc", "中文abc"));
  int position = 0;
  EXPECT_EQ(m.MatchText(1, &position), "abc");
  EXPECT_EQ(position, 4);

  ASSERT_TRUE(m.Match("(b)(x)?(c)", "中abc中bc"));
  ASSERT_EQ(m.MatchCount(), 2);
  EXPECT_EQ(m.SubMatchText(2, 3, &position), "c");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(m.SubMatchText(1, 2, &position), "");  // the group took no part
  EXPECT_EQ(position, -2);
  EXPECT_EQ(m.MatchText(3, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(m.SubMatchCount(), 3);
}

TEST(RegexMatcher, AMatchNeverStartsInsideADoubleByteCharacter) {
  RegexMatcher m;
  // 0x81 0x41 is one character whose second byte reads "A".
  ASSERT_TRUE(m.Match("A", "\x81\x41" "A", true));
  ASSERT_EQ(m.MatchCount(), 1);
  int position = 0;
  m.MatchText(1, &position);
  EXPECT_EQ(position, 2);
  ASSERT_TRUE(m.Match("\\w+", "中文abc_1"));
  EXPECT_EQ(m.MatchText(1), "abc_1");  // \w is ASCII, as in JScript
  ASSERT_TRUE(m.Match("\\s", "中\xA1\xA1x"));  // the ideographic space is a blank
  EXPECT_EQ(m.MatchText(1, &position), "\xA1\xA1");
  EXPECT_EQ(position, 2);
}

TEST(RegexMatcher, OptionsFollowTheVbScriptObject) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match("<.+?>", "<a><b>"));
  EXPECT_EQ(m.MatchText(1), "<a>");  // lazy
  EXPECT_EQ(m.MatchCount(), 2);      // global by default
  ASSERT_TRUE(m.Match("<.+?>", "<a><b>", false, true, false));
  EXPECT_EQ(m.MatchCount(), 1);

  ASSERT_TRUE(m.Match("^b", "a\r\nb"));
  EXPECT_EQ(m.MatchCount(), 1);  // multi-line by default
  ASSERT_TRUE(m.Match("^b", "a\r\nb", false, false));
  EXPECT_EQ(m.MatchCount(), 0);

  ASSERT_TRUE(m.Match("abc", "ABC ａｂｃ", false));
  EXPECT_EQ(m.MatchCount(), 1);
  ASSERT_TRUE(m.Match("ａｂｃ", "ＡＢＣ"));
  EXPECT_EQ(m.MatchCount(), 1);  // full-width letters fold too
  ASSERT_TRUE(m.Match("abc", "ABC", true));
  EXPECT_EQ(m.MatchCount(), 0);
}

TEST(RegexMatcher, ReplaceWorksOnTheSearchedTextAndKeepsEveryOtherByte) {
  RegexMatcher m;
  EXPECT_EQ(m.Replace("x"), "");  // nothing compiled yet
  ASSERT_TRUE(m.Match("(\\d+)", "\xFF价格 12 元 34"));
  EXPECT_EQ(m.Replace("[$1]"), "\xFF价格 [12] 元 [34]");
  ASSERT_TRUE(m.Match("(\\d+)", "a1b2", false, true, false));
  EXPECT_EQ(m.Replace("<$&>"), "a<1>b2");
}

TEST(RegexMatcher, AnInvalidPatternIsFalseNotAnException) {
  RegexMatcher m;
  EXPECT_EQ(m.GetPattern(), "");
  EXPECT_EQ(m.MatchCount(), 0);
  EXPECT_EQ(m.SubMatchCount(), 0);
  ASSERT_TRUE(m.Match("(a)", "a"));
  for (const char* bad : {"(", "[a-", "a{2,1}", "*", "(?<x>a)"}) {
    EXPECT_FALSE(m.Match(bad, "aaa")) << bad;
    EXPECT_EQ(m.MatchCount(), 0);
    EXPECT_EQ(m.MatchText(1), "");
    EXPECT_EQ(m.Replace("b"), "");
    EXPECT_EQ(m.GetPattern(), bad);
  }
}

TEST(RegexMatcher, ACopyReadsTheSameResults) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match("(\\w)(\\w)", "中ab"));
  RegexMatcher copy = m;
  ASSERT_TRUE(m.Match("z", "z"));
  int position = 0;
  EXPECT_EQ(copy.SubMatchText(1, 2, &position), "b");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(copy.GetPattern(), "(\\w)(\\w)");
}

// Where the engine's own dialect reads a pattern otherwise than JScript.
TEST(RegexMatcher, PatternsMeanWhatTheyMeanInJScript) {
  RegexMatcher m;
  auto first = [&](const char* pattern, const char* text) {
    return m.Match(pattern, text, true, false, false) && m.MatchCount() == 1 ? m.MatchText(1) : std::string("-");
  };
  EXPECT_EQ(first("\\a\\e\\h", "aeh"), "aeh");             // identity escapes, not BEL, ESC, blank
  EXPECT_EQ(first("[\\v]", "a\vb\nc"), "\v");               // a vertical tab, not every line break
  EXPECT_EQ(first("x[\\sy]z", "x\xA1\xA1z"), "x\xA1\xA1z");  // the ideographic space in a class
  EXPECT_EQ(first("x[\\S]", "x\xA1\xA1 xy"), "xy");
  EXPECT_EQ(first("a.b", "a\rb a-b"), "a-b");
  EXPECT_EQ(first("(x)?\\1b", "b"), "b");                       // an unset group refers to nothing
  EXPECT_EQ(first("b$", "ab\n"), "-");
  EXPECT_EQ(first("[[:alpha:]]+", "b:]"), ":]");
  EXPECT_EQ(first("\\u0041\\x42\\u00", "ABu00"), "ABu00");
  for (const char* notJScript : {"a++", "a?+", "(*UTF)a", "(?i)a", "(?P<n>a)", "(?#c)a"})
    EXPECT_FALSE(m.Match(notJScript, "aa")) << notJScript;
  ASSERT_TRUE(m.Match("b", "abc"));
  EXPECT_EQ(m.Replace("[$`|$'|$$|$&|$1]"), "a[a|c|$|b|$1]c");
}

}  // namespace
