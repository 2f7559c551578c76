#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/file.h"
#include "ui/png/png_reader.h"

namespace quenlor::png {
namespace {

std::vector<std::uint8_t> Load(const std::string& relative) {
  auto bytes = ReadWholeFile(std::string(QUENLOR_SOURCE_DIR) + "/" + relative);
  EXPECT_TRUE(bytes.has_value()) << relative;
  return bytes.value_or(std::vector<std::uint8_t>{});
}

// Every colour type, 1- to 16-bit samples, palettes with and without transparency and an
// interlaced image decode to the same pixels as ImageMagick gives (its .rgba dumps; for
// 16-bit images its 16-bit little-endian dump, each sample rounded to 8 bits).
TEST(PngReader, MatchesReferencePixels) {
  for (const char* name : {"gray1", "gray_alpha", "interlaced_rgba", "palette", "palette_trns", "rgb16"}) {
    SCOPED_TRACE(name);
    const std::string base = std::string("tests/png/data/") + name;
    const auto png = Load(base + ".png");
    std::vector<std::uint8_t> expected;
    if (auto wide = ReadWholeFile(std::string(QUENLOR_SOURCE_DIR) + "/" + base + ".rgba16")) {
      for (std::size_t i = 0; i + 1 < wide->size(); i += 2)
        expected.push_back(static_cast<std::uint8_t>((((*wide)[i + 1] << 8 | (*wide)[i]) + 128) / 257));
    } else {
      expected = Load(base + ".rgba");
    }
    std::string error;
    const auto image = Decode(png.data(), png.size(), &error);
    ASSERT_TRUE(image.has_value()) << error;
    EXPECT_EQ(std::uint64_t{image->width} * image->height * 4, expected.size());
    EXPECT_EQ(image->rgba, expected);
  }
}

TEST(PngReader, DecodesTheCloseButtonImages) {
  for (const char* name : {"close_normal", "close_pressed", "close_hot"}) {
    SCOPED_TRACE(name);
    const auto png = Load(std::string("src/ui/resources/") + name + ".png");
    const auto image = Decode(png.data(), png.size());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(image->width, 14u);
    EXPECT_EQ(image->height, 14u);
    // Corners are transparent, the centre (the cross) is opaque.
    EXPECT_EQ(image->rgba[3], 0);
    EXPECT_EQ(image->rgba[(7 * 14 + 7) * 4 + 3], 255);
  }
}

TEST(PngReader, RefusesDamagedData) {
  const auto good = Load("tests/png/data/interlaced_rgba.png");
  std::string error;
  EXPECT_FALSE(Decode(nullptr, 0, &error));
  EXPECT_EQ(error, "not a PNG image");

  auto flipped = good;
  flipped[40] ^= 0x55;  // inside a chunk: its checksum no longer matches
  EXPECT_FALSE(Decode(flipped.data(), flipped.size(), &error));
  EXPECT_EQ(error, "chunk checksum mismatch");

  // Every truncation fails cleanly (the end chunk is optional, the data is not).
  for (std::size_t size = 0; size + 12 < good.size(); ++size)
    EXPECT_FALSE(Decode(good.data(), size)) << size;

  // A header that claims a huge image with a few bytes of data is refused before any
  // allocation of the image's size.
  auto huge = Load("src/ui/resources/close_hot.png");
  huge[16] = 0x00; huge[17] = 0x00; huge[18] = 0x1F; huge[19] = 0xFF;  // width 8191
  huge[20] = 0x00; huge[21] = 0x00; huge[22] = 0x1F; huge[23] = 0xFF;  // height 8191
  // Fix the header's checksum so the size itself is what is judged.
  std::uint32_t crc = 0;
  {
    // CRC-32 of "IHDR" + 13 header bytes.
    std::uint32_t table[256];
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    crc = 0xFFFFFFFFu;
    for (std::size_t i = 12; i < 29; ++i) crc = table[(crc ^ huge[i]) & 0xFF] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
  }
  huge[29] = static_cast<std::uint8_t>(crc >> 24);
  huge[30] = static_cast<std::uint8_t>(crc >> 16);
  huge[31] = static_cast<std::uint8_t>(crc >> 8);
  huge[32] = static_cast<std::uint8_t>(crc);
  EXPECT_FALSE(Decode(huge.data(), huge.size(), &error));
  EXPECT_EQ(error, "image data shorter than the image");
}

}  // namespace
}  // namespace quenlor::png
