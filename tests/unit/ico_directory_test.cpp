#include "tray/ico_directory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tray/tray_icon_images.h"

namespace {

std::vector<unsigned char> Bytes(std::span<const unsigned char> s) { return {s.begin(), s.end()}; }

void PutU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

std::uint32_t U32(std::span<const unsigned char> b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// A file with two entries whose images are 3 and 2 bytes long.
std::vector<unsigned char> TwoEntryIco() {
  std::vector<unsigned char> ico(6 + 2 * 16 + 5, 0);
  ico[2] = 1;  // type: icon
  ico[4] = 2;  // two entries
  ico[6] = 16, ico[7] = 16;
  PutU32(ico, 6 + 8, 3);
  PutU32(ico, 6 + 12, 38);
  ico[22] = 0, ico[23] = 0;  // 0 means 256
  PutU32(ico, 22 + 8, 2);
  PutU32(ico, 22 + 12, 41);
  ico[38] = 'a', ico[39] = 'b', ico[40] = 'c', ico[41] = 'd', ico[42] = 'e';
  return ico;
}

TEST(FindIcoImage, FindsEachEntrysImage) {
  const auto ico = TwoEntryIco();
  const auto first = FindIcoImage(ico, 0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->width, 16);
  EXPECT_EQ(first->height, 16);
  EXPECT_EQ(Bytes(first->bytes), (std::vector<unsigned char>{'a', 'b', 'c'}));

  const auto second = FindIcoImage(ico, 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->width, 256);
  EXPECT_EQ(Bytes(second->bytes), (std::vector<unsigned char>{'d', 'e'}));
}

TEST(FindIcoImage, RefusesAnIndexOutsideTheDirectory) {
  const auto ico = TwoEntryIco();
  EXPECT_FALSE(FindIcoImage(ico, 2));
  EXPECT_FALSE(FindIcoImage(ico, -1));
}

TEST(FindIcoImage, RefusesTruncatedData) {
  const auto ico = TwoEntryIco();
  for (std::size_t n : {0u, 5u, 6u, 21u}) {
    EXPECT_FALSE(FindIcoImage(std::span(ico).first(n), 0)) << n << " bytes";
  }
  // Directory whole, image cut short by one byte.
  EXPECT_FALSE(FindIcoImage(std::span(ico).first(ico.size() - 1), 1));
}

TEST(FindIcoImage, RefusesADirectoryThatPointsOutside) {
  auto ico = TwoEntryIco();
  PutU32(ico, 6 + 12, 0xFFFFFFFE);  // offset + size wraps in 32 bits
  EXPECT_FALSE(FindIcoImage(ico, 0));

  ico = TwoEntryIco();
  PutU32(ico, 6 + 8, 100);
  EXPECT_FALSE(FindIcoImage(ico, 0));

  ico = TwoEntryIco();
  ico[4] = 9;  // claims more entries than the data holds
  EXPECT_FALSE(FindIcoImage(ico, 5));
}

// The pixels of a tray image, top row first, as (b, g, r, a).
struct Pixel {
  int b, g, r, a;
};

std::vector<Pixel> Pixels(std::span<const unsigned char> image) {
  std::vector<Pixel> out;
  for (int row = 15; row >= 0; --row) {  // stored bottom-up
    for (int x = 0; x < 16; ++x) {
      const auto* p = &image[40 + (row * 16 + x) * 4];
      out.push_back({p[0], p[1], p[2], p[3]});
    }
  }
  return out;
}

void ExpectTrayImageShape(std::span<const unsigned char> ico) {
  ASSERT_EQ(ico.size(), 1150u);
  const auto image = FindIcoImage(ico, 0);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 16);
  EXPECT_EQ(image->height, 16);
  ASSERT_EQ(image->bytes.size(), 40u + 1024 + 64);
  EXPECT_EQ(U32(image->bytes, 0), 40u);   // BITMAPINFOHEADER
  EXPECT_EQ(U32(image->bytes, 8), 32u);   // colour and mask rows
  EXPECT_EQ(image->bytes[14], 32);        // bits per pixel

  // Transparent corners, an opaque body and a white mark on it: a badge,
  // not a flat square.
  const auto px = Pixels(image->bytes);
  EXPECT_EQ(px[0].a, 0);
  EXPECT_EQ(px[255].a, 0);
  EXPECT_EQ(px[8 * 16 + 14].a, 255);
  int white = 0;
  for (const auto& p : px) white += p.a == 255 && p.r > 240 && p.g > 240 && p.b > 240;
  EXPECT_GE(white, 12);

  // The mask marks exactly the fully transparent pixels (top row, bit 15 first).
  const auto* maskTop = &image->bytes[40 + 1024 + 15 * 4];
  EXPECT_TRUE(maskTop[0] & 0x80);
  EXPECT_FALSE(maskTop[1] & 0x80);  // x = 8 lies on the badge
}

// Share of opaque pixels that `looksRight` accepts.
template <class Test>
double Share(std::span<const unsigned char> ico, Test looksRight) {
  const auto px = Pixels(FindIcoImage(ico, 0)->bytes);
  int opaque = 0, matching = 0;
  for (const auto& p : px) {
    if (p.a < 128) continue;
    ++opaque;
    matching += looksRight(p);
  }
  return static_cast<double>(matching) / opaque;
}

bool Teal(const Pixel& p) { return p.g > p.r + 60 && p.b > p.r + 60 && std::abs(p.g - p.b) < 50; }
bool Blue(const Pixel& p) { return p.b > p.g + 50 && p.b > p.r + 100; }

TEST(TrayImages, AreSingle16By16IconsWithABadge) {
  ExpectTrayImageShape(StoppedIconData());
  ExpectTrayImageShape(RunningIconData());
}

TEST(TrayImages, StoppedIsMainlyTealAndRunningMainlyBlue) {
  EXPECT_GT(Share(StoppedIconData(), Teal), 0.5);
  EXPECT_EQ(Share(StoppedIconData(), Blue), 0.0);
  EXPECT_GT(Share(RunningIconData(), Blue), 0.5);
  EXPECT_EQ(Share(RunningIconData(), Teal), 0.0);
}

}  // namespace
