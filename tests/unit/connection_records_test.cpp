#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "system/blank_text.h"
#include "system/connection_records.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::string Zeros(std::size_t n) { return std::string(n, '\0'); }

TEST(ConnectionRecords, AutoConfigRecordWithAnAddress) {
  const std::string address = "file://C:\\brook\\pac";  // 19 bytes
  const std::string expected = Bytes({0x46, 0, 0, 0, 0x1E, 0, 0, 0, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0x13, 0, 0, 0}) +
                               address + Zeros(32);
  EXPECT_EQ(AutoConfigRecord(30, address), expected);
  EXPECT_EQ(AutoConfigRecord(30, address).size(), 56u + 19u);
}

TEST(ConnectionRecords, ClearedAutoConfigRecordIsFiftySixBytesOfDirectAccess) {
  const std::string expected = Bytes({0x46, 0, 0, 0, 0x01, 0, 0, 0, 0x01, 0, 0, 0}) + Zeros(12) + Zeros(32);
  EXPECT_EQ(AutoConfigRecord(1, ""), expected);
}

TEST(ConnectionRecords, ProxyRecord) {
  const std::string expected =
      Bytes({0x3C, 0, 0, 0, 0x01, 0, 0, 0, 0x03, 0, 0, 0, 0x0E, 0, 0, 0}) + "127.0.0.1:2080" + Zeros(36);
  EXPECT_EQ(ProxyRecord("127.0.0.1:2080"), expected);
}

TEST(ConnectionRecords, LengthsCountEveryByteOfLongAndBlankTexts) {
  // Beyond 255 bytes the count runs into the second byte of the field.
  const std::string longAddress = "http://127.0.0.1:1/" + std::string(281, 'a');  // 300 bytes
  const std::string record = AutoConfigRecord(1, longAddress);
  ASSERT_EQ(record.size(), 356u);
  EXPECT_EQ(record.substr(20, 4), Bytes({0x2C, 0x01, 0, 0}));
  EXPECT_EQ(record.substr(24, 300), longAddress);
  EXPECT_EQ(record.substr(324), Zeros(32));

  // Blanks, the full-width one included, are bytes like any other.
  const std::string blankAddress = "file://C:\\My Brook\\新　建\\pac";  // 29 bytes in GBK
  const std::string blankRecord = AutoConfigRecord(1, blankAddress);
  EXPECT_EQ(blankRecord.substr(20, 4), Bytes({29, 0, 0, 0}));
  EXPECT_EQ(blankRecord.substr(24, 29), blankAddress);

  const std::string proxy = ProxyRecord(std::string(300, 'p'));
  ASSERT_EQ(proxy.size(), 352u);
  EXPECT_EQ(proxy.substr(12, 4), Bytes({0x2C, 0x01, 0, 0}));
}

TEST(BlankText, HalfAndFullWidthBlanksOnCharacterBoundaries) {
  EXPECT_EQ(RemoveBlanks(" a b　c "), "abc");
  EXPECT_EQ(RemoveBlanks(" 　 "), "");
  EXPECT_EQ(TrimBlanks("　 127.0.0.1:2080 　"), "127.0.0.1:2080");
  EXPECT_EQ(TrimBlanks("   "), "");
  // "\xA1\xA1" inside "\xB0\xA1\xA1\xB0" is the trail of one character and
  // the lead of the next, not a blank.
  EXPECT_EQ(RemoveBlanks("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
  EXPECT_EQ(TrimBlanks("\xB0\xA1\xA1\xB0"), "\xB0\xA1\xA1\xB0");
}

}  // namespace
