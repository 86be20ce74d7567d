#include "diag/regex_matcher.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

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

// Cases where JScript and ECMAScript agree. Each expectation is what
// Node.js 20 returns for new RegExp(pattern, "g" + flags), every match as
// its text and offset; offsets here are bytes of the GBK text, where Node
// counts UTF-16 units.
struct Differential {
  const char* pattern;
  const char* text;
  const char* flags;  // "i" ignores case, "m" is multi-line
  const char* expected;
};

std::string AllMatches(const Differential& c) {
  RegexMatcher m;
  if (!m.Match(c.pattern, c.text, !std::strchr(c.flags, 'i'), std::strchr(c.flags, 'm') != nullptr))
    return "SyntaxError";
  std::string out;
  for (int k = 1; k <= m.MatchCount(); ++k) {
    int position = 0;
    const std::string text = m.MatchText(k, &position);
    out += (k > 1 ? " " : "") + text + "@" + std::to_string(position);
  }
  return out.empty() ? "(none)" : out;
}

void ExpectAsECMAScript(std::initializer_list<Differential> cases) {
  for (const Differential& c : cases) EXPECT_EQ(AllMatches(c), c.expected) << "/" << c.pattern << "/" << c.flags;
}

// "^" and "$" look at the characters beside them, and CR LF is two line ends.
TEST(RegexMatcherAsECMAScript, LineEnds) {
  ExpectAsECMAScript({
      {"^", "a\n", "m", "@0 @2"},
      {"^$", "x\r\n", "m", "@2 @3"},
      {"$", "a\r\nb", "m", "@1 @2 @4"},
      {"\\W\\w", "a\r\nb", "m", "\nb@2"},  // the try at the CR fails, the LF is tried next
      {"^b$", "a\rb\rc", "m", "b@2"},
      {"^\\w", "a\nb", "", "a@0"},
      {"a$", "a\na", "", "a@2"},
  });
}

// Node gives the second match of /\u03c2/gi in "σΣ" at 1 (UTF-16 units).
TEST(RegexMatcherAsECMAScript, LettersGbkHoldsFoldAsUpperCase) {
  ExpectAsECMAScript({
      {"ⅰ", "Ⅰ", "i", "Ⅰ@0"},
      {"\\u00c1", "á", "i", "á@0"},
      {"\\u01cd", "ǎ", "i", "ǎ@0"},
      {"\\u00dc", "ü", "i", "ü@0"},
      {"\\u0100", "ā", "i", "ā@0"},
      {"\\u03c2", "σΣ", "i", "σ@0 Σ@2"},
      {"ё", "Ё", "i", "Ё@0"},
      {"ω", "Ω", "i", "Ω@0"},
      {"\\u017f", "s", "i", "(none)"},  // no letter beyond ASCII folds onto ASCII
      {"[Ё-я]+", "ЁёЯя", "i", "ЁёЯя@0"},
      {"[Ω-α]+", "ΩωΑα", "i", "ΩωΑα@0"},
      {"[Ｚ-ａ]+", "ｚＡ［", "i", "ｚＡ［@0"},
      {"[Ａ-ｚ]+", "＿［｀ａ", "i", "＿［｀ａ@0"},
      {"[ⅰ-ⅹ]", "Ⅻ", "i", "(none)"},
      {"[^a]", "A", "i", "(none)"},
  });
}

TEST(RegexMatcherAsECMAScript, Escapes) {
  ExpectAsECMAScript({
      // \N beyond the groups is octal (or the digit 8 or 9), as JScript
      // read it; ECMAScript keeps that outside Unicode mode.
      {"\\1", "\x01", "", "\x01@0"},
      {"(a)\\2", "a\x02", "", "a\x02@0"},
      {"\\8", "8", "", "8@0"},
      {"\\18", "\x01" "8", "", "\x01" "8@0"},
      {"\\101", "A", "", "A@0"},
      {"[\\1]", "\x01", "", "\x01@0"},
      {"(a)\\1", "aa", "", "aa@0"},
      {"\\2(a)(b)", "ab", "", "ab@0"},  // a group further on
      // A class escape at either end of a range makes the hyphen a character.
      {"^[\\w-\\.]+@[\\w-]+\\.\\w+$", "a-b.c@d-e.fg", "", "a-b.c@d-e.fg@0"},
      {"[\\s-z]", "-", "", "-@0"},
      {"[a-\\d]+", "b-3a", "", "-3a@1"},
      // Nothing of PCRE2's own: POSIX classes, \B in a class, "}" after a count.
      {"[:a:]", ":", "", ":@0"},
      {"[..]", ".", "", ".@0"},
      {"[\\B]", "B", "", "B@0"},
      {"\\{2}+", "{2}}}", "", "{2}}}@0"},
      {"a{,2}", "a{,2}", "", "a{,2}@0"},
      {"[\\c1]", "\x11", "", "\x11@0"},
      {"\\c1", "\\c1", "", "\\c1@0"},
      {"(?=a)*a", "a", "", "a@0"},
      {"a{2,1}", "", "", "SyntaxError"},
      {"{2}", "", "", "SyntaxError"},
      {"^*", "", "", "SyntaxError"},
      {"\\b+", "", "", "SyntaxError"},
  });
}

TEST(RegexMatcherAsECMAScript, EmptyClassNeverMatchesAndItsNegationMatchesAll) {
  ExpectAsECMAScript({
      {"a[]*b", "ab", "", "ab@0"},
      {"a[]b", "ab", "", "(none)"},
      {"[]]", "]", "", "(none)"},
      {"[^]", "\n", "", "\n@0"},
  });
}

// PCRE2 gives up after a number of steps where JScript goes on. Node's
// answers: "x"@0 (with 20 "a"s, as it runs for hours with 40), and the 23
// characters up to "b"@0.
TEST(RegexMatcherAsECMAScript, AStepLimitKeepsWhatWasFoundAndGrowsWithTheText) {
  RegexMatcher m;
  ASSERT_TRUE(m.Match("x|(a+)+b", "x" + std::string(40, 'a')));
  ASSERT_EQ(m.MatchCount(), 1);
  EXPECT_EQ(m.MatchText(1), "x");
  // The first alternative takes about 10.5 million steps before the second
  // matches: more than a short text allows, within what this long one does.
  const std::string head = std::string(22, 'a') + "b";
  ASSERT_TRUE(m.Match("^(?:(a+)+!|a*b)", head + std::string(150000, ' '), true, false));
  ASSERT_EQ(m.MatchCount(), 1);
  EXPECT_EQ(m.MatchText(1), head);
}

}  // namespace
