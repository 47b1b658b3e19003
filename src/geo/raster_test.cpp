// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/raster.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace vistrel::geo {
namespace {

void putLe(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

std::uint32_t readBe32(const std::string& s, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v = v << 8 | static_cast<unsigned char>(s[at + i]);
  return v;
}

// A paletted bitmap file with the given rows of palette indexes (top row
// first), written bottom-up unless topDown.
std::string palettedBmp(int bits, const std::vector<Rgb>& palette,
                        const std::vector<std::vector<int>>& rows, bool topDown = false) {
  const int width = static_cast<int>(rows[0].size());
  const int height = static_cast<int>(rows.size());
  const std::size_t rowBytes = static_cast<std::size_t>((width * bits + 31) / 32 * 4);
  const std::size_t offset = 54 + 4 * palette.size();
  std::string out = "BM";
  putLe(out, static_cast<std::uint32_t>(offset + rowBytes * height), 4);
  putLe(out, 0, 4);
  putLe(out, static_cast<std::uint32_t>(offset), 4);
  putLe(out, 40, 4);
  putLe(out, static_cast<std::uint32_t>(width), 4);
  putLe(out, static_cast<std::uint32_t>(topDown ? -height : height), 4);
  putLe(out, 1, 2);
  putLe(out, static_cast<std::uint32_t>(bits), 2);
  putLe(out, 0, 4);
  putLe(out, 0, 4);
  putLe(out, 0, 4);
  putLe(out, 0, 4);
  putLe(out, static_cast<std::uint32_t>(palette.size()), 4);
  putLe(out, 0, 4);
  for (const Rgb& c : palette) {
    out += static_cast<char>(c.b);
    out += static_cast<char>(c.g);
    out += static_cast<char>(c.r);
    out += '\0';
  }
  for (int i = 0; i < height; ++i) {
    const auto& row = rows[static_cast<std::size_t>(topDown ? i : height - 1 - i)];
    std::string bytes(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      const int bit = x * bits;
      bytes[static_cast<std::size_t>(bit / 8)] |= static_cast<char>(row[static_cast<std::size_t>(x)]
                                                                    << (8 - bits - bit % 8));
    }
    out += bytes;
  }
  return out;
}

// The raw scanlines of a PNG written by toPng, read back from its stored
// deflate blocks; checks the chunk CRCs are present and the zlib framing.
std::string pngScanlines(const std::string& png) {
  std::string idat;
  std::size_t at = 8;
  while (at + 8 <= png.size()) {
    const std::uint32_t len = readBe32(png, at);
    const std::string type = png.substr(at + 4, 4);
    if (type == "IDAT") idat += png.substr(at + 8, len);
    at += 12 + len;
  }
  EXPECT_EQ(at, png.size());
  std::string raw;
  std::size_t p = 2;
  for (bool last = false; !last;) {
    last = idat[p] & 1;
    const std::size_t n = static_cast<unsigned char>(idat[p + 1]) | static_cast<unsigned char>(idat[p + 2]) << 8;
    raw += idat.substr(p + 5, n);
    p += 5 + n;
  }
  EXPECT_EQ(p + 4, idat.size());
  return raw;
}

Raster randomRaster(int width, int height, unsigned seed) {
  std::mt19937 rng(seed);
  Raster r(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      r.setPixel(x, y, Rgb{static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                           static_cast<std::uint8_t>(rng())});
    }
  }
  return r;
}

TEST(RasterTest, TwentyFourBitBitmapReadsBackUnchanged) {
  for (const int width : {1, 2, 3, 4, 5, 17}) {
    const Raster original = randomRaster(width, 3, static_cast<unsigned>(width));
    auto back = Raster::fromBmp(original.toBmp());
    ASSERT_TRUE(back.ok()) << back.status().ToString();
    EXPECT_EQ(*back, original) << "width " << width;
  }
}

TEST(RasterTest, ReadsPalettedBitmapsOfEveryDepthInBothRowOrders) {
  const std::vector<Rgb> palette = {kBlack, kYellow, kSilver, kCyan};
  const std::vector<std::vector<int>> rows = {{0, 1, 2, 3, 1}, {3, 2, 1, 0, 0}};
  struct Case {
    const char* name;
    int bits;
    bool topDown;
  };
  const Case cases[] = {{"4-bit bottom-up", 4, false}, {"4-bit top-down", 4, true},
                        {"8-bit bottom-up", 8, false}, {"2-colour rows as 1-bit", 1, false}};
  for (const Case& c : cases) {
    const auto& use = c.bits == 1 ? std::vector<std::vector<int>>{{0, 1, 1, 0, 1}, {1, 0, 0, 1, 1}} : rows;
    auto r = Raster::fromBmp(palettedBmp(c.bits, palette, use, c.topDown));
    ASSERT_TRUE(r.ok()) << c.name << ": " << r.status().ToString();
    ASSERT_EQ(r->width(), 5) << c.name;
    ASSERT_EQ(r->height(), 2) << c.name;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(r->pixel(x, y), palette[static_cast<std::size_t>(use[y][x])]) << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(RasterTest, PaletteIndexPastThePaletteReadsBlack) {
  auto r = Raster::fromBmp(palettedBmp(4, {kYellow, kCyan}, {{0, 1, 9}}));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r->pixel(2, 0), kBlack);
}

TEST(RasterTest, EveryTruncationOfABitmapIsRefusedCleanly) {
  const std::string whole = palettedBmp(4, {kBlack, kYellow}, {{0, 1, 1}, {1, 0, 1}});
  ASSERT_TRUE(Raster::fromBmp(whole).ok());
  for (std::size_t n = 0; n < whole.size(); ++n) {
    EXPECT_FALSE(Raster::fromBmp(whole.substr(0, n)).ok()) << "cut to " << n << " bytes";
  }
}

TEST(RasterTest, DamagedHeadersGiveCleanErrors) {
  const std::string good = palettedBmp(8, {kBlack, kYellow}, {{0, 1}, {1, 0}});
  struct Case {
    const char* name;
    std::size_t at;
    std::uint32_t value;
    int bytes;
    host::StatusCode code;
  };
  const Case cases[] = {
      {"not BM", 0, 'X', 1, host::StatusCode::kCorrupt},
      {"small header", 14, 12, 4, host::StatusCode::kInvalidArgument},
      {"zero width", 18, 0, 4, host::StatusCode::kCorrupt},
      {"huge width", 18, 0x7fffffff, 4, host::StatusCode::kCorrupt},
      {"most negative height", 22, 0x80000000u, 4, host::StatusCode::kCorrupt},
      {"run-length compressed", 30, 1, 4, host::StatusCode::kInvalidArgument},
      {"16 bits per pixel", 28, 16, 2, host::StatusCode::kInvalidArgument},
      {"pixels past the end", 10, 0xfffffff0u, 4, host::StatusCode::kCorrupt},
      {"huge header", 14, 0xffffff00u, 4, host::StatusCode::kCorrupt},
  };
  for (const Case& c : cases) {
    std::string bad = good;
    for (int i = 0; i < c.bytes; ++i) bad[c.at + i] = static_cast<char>((c.value >> (8 * i)) & 0xff);
    auto r = Raster::fromBmp(bad);
    ASSERT_FALSE(r.ok()) << c.name;
    EXPECT_EQ(r.status().code(), c.code) << c.name << ": " << r.status().ToString();
  }
}

TEST(RasterTest, PngHoldsThePixelsInStoredBlocks) {
  // 200 x 120 pixels make more than one 64 KiB stored block.
  const Raster r = randomRaster(200, 120, 3);
  const std::string png = r.toPng();
  ASSERT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n"));
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(readBe32(png, 16), 200u);
  EXPECT_EQ(readBe32(png, 20), 120u);
  const std::string raw = pngScanlines(png);
  ASSERT_EQ(raw.size(), 120u * (1 + 3 * 200));
  for (int y = 0; y < 120; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * (1 + 3 * 200);
    ASSERT_EQ(raw[row], '\0');
    for (int x = 0; x < 200; ++x) {
      const Rgb c{static_cast<std::uint8_t>(raw[row + 1 + 3 * x]),
                  static_cast<std::uint8_t>(raw[row + 2 + 3 * x]),
                  static_cast<std::uint8_t>(raw[row + 3 + 3 * x])};
      ASSERT_EQ(c, r.pixel(x, y)) << x << "," << y;
    }
  }
  EXPECT_EQ(png.substr(png.size() - 8, 4), "IEND");
  // CRC of IEND with no data is fixed.
  EXPECT_EQ(readBe32(png, png.size() - 4), 0xae426082u);
}

}  // namespace
}  // namespace vistrel::geo
