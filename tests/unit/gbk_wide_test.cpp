#include "shared/gbk_wide.h"

#include <gtest/gtest.h>

#include "shared/gbk_text.h"

namespace {

TEST(GbkWide, OneWideCharacterPerGbkCharacter) {
  const gbk::WideText w = gbk::DecodeWithOffsets("a中文\xA1\xA1z");
  EXPECT_EQ(w.text, (std::wstring{L'a', wchar_t(0x4E2D), wchar_t(0x6587), wchar_t(0x3000), L'z'}));
  EXPECT_EQ(w.byteOffsets, (std::vector<std::size_t>{0, 1, 3, 5, 7, 8}));
}

TEST(GbkWide, GbkTextSurvivesTheRoundTrip) {
  const std::string text = "GBK：中文、全角ＡＢＣ、希腊αβ、俄文Жж、符号№§";
  EXPECT_EQ(gbk::FromWide(gbk::ToWide(text)), text);
}

TEST(GbkWide, BrokenBytesReadAsReplacementAndNeverSwallowAscii) {
  // A lead byte before a CR, a lone 0xFF and a lead byte at the end.
  const gbk::WideText w = gbk::DecodeWithOffsets("\x81\r\n\xFFx\x81");
  EXPECT_EQ(w.text, (std::wstring{wchar_t(0xFFFD), L'\r', L'\n', wchar_t(0xFFFD), L'x', wchar_t(0xFFFD)}));
  EXPECT_EQ(gbk::FromWide(w.text), "?\r\n?x?");
  EXPECT_EQ(gbk::CharLength("\x81\"", 0), 1u);
  EXPECT_EQ(gbk::CharLength("\x81\x40", 0), 2u);
  EXPECT_EQ(gbk::CharLength("\x81\x7F", 0), 1u);
}

TEST(GbkWide, CharactersOutsideGbkBecomeQuestionMarks) {
  EXPECT_EQ(gbk::FromWide(std::wstring{L'a', wchar_t(0x0E01), L'b'}), "a?b");  // Thai
}

}  // namespace
