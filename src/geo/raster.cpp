// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/raster.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace vistrel::geo {
namespace {

// Pictures larger than this on either side are refused when read.
constexpr std::int64_t kMaxSide = 16384;

std::uint32_t readU32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t readU16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

void putLe(std::string& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

void putBe32(std::string& out, std::uint32_t v) {
  for (int i = 3; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xff);
}

// The fields of a bitmap header that decoding needs.
struct BmpLayout {
  std::int64_t width = 0;
  std::int64_t height = 0;  // positive; topDown says the row order
  bool topDown = false;
  int bits = 0;
  std::size_t dataOffset = 0;
  std::size_t rowBytes = 0;
  std::vector<Rgb> palette;
};

host::StatusOr<BmpLayout> readBmpLayout(std::string_view b) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') {
    return host::Status::Corrupt("not a bitmap file");
  }
  const std::uint32_t headerSize = readU32(b, 14);
  if (headerSize < 40) return host::Status::InvalidArgument("unsupported bitmap header");
  if (b.size() < 14 + std::size_t{headerSize}) return host::Status::Corrupt("bitmap header cut short");
  BmpLayout l;
  l.width = static_cast<std::int32_t>(readU32(b, 18));
  const std::int64_t h = static_cast<std::int32_t>(readU32(b, 22));
  l.topDown = h < 0;
  l.height = l.topDown ? -h : h;
  l.bits = readU16(b, 28);
  const std::uint32_t compression = readU32(b, 30);
  if (l.width <= 0 || l.height <= 0 || l.width > kMaxSide || l.height > kMaxSide) {
    return host::Status::Corrupt("bitmap size out of range");
  }
  if (compression != 0) return host::Status::InvalidArgument("compressed bitmaps are not supported");
  if (l.bits != 1 && l.bits != 4 && l.bits != 8 && l.bits != 24 && l.bits != 32) {
    return host::Status::InvalidArgument("unsupported bits per pixel");
  }
  if (l.bits <= 8) {
    std::size_t colours = readU32(b, 46);
    const std::size_t most = std::size_t{1} << l.bits;
    if (colours == 0 || colours > most) colours = most;
    const std::size_t at = 14 + std::size_t{headerSize};
    if (b.size() < at + 4 * colours) return host::Status::Corrupt("bitmap palette cut short");
    for (std::size_t i = 0; i < colours; ++i) {
      const auto* p = reinterpret_cast<const unsigned char*>(b.data() + at + 4 * i);
      l.palette.push_back(Rgb{p[2], p[1], p[0]});
    }
  }
  l.dataOffset = readU32(b, 10);
  l.rowBytes = static_cast<std::size_t>((l.width * l.bits + 31) / 32 * 4);
  if (l.dataOffset > b.size() ||
      (b.size() - l.dataOffset) / l.rowBytes < static_cast<std::size_t>(l.height)) {
    return host::Status::Corrupt("bitmap pixels cut short");
  }
  return l;
}

// The colour of pixel x of a row of a bitmap; palette indexes past the end of
// the palette read as black.
Rgb bmpPixel(const BmpLayout& l, const unsigned char* row, std::int64_t x) {
  if (l.bits >= 24) {
    const unsigned char* p = row + x * (l.bits / 8);
    return Rgb{p[2], p[1], p[0]};
  }
  const std::int64_t bit = x * l.bits;
  const unsigned value = (row[bit / 8] >> (8 - l.bits - bit % 8)) & ((1u << l.bits) - 1);
  return value < l.palette.size() ? l.palette[value] : kBlack;
}

std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

std::uint32_t crc32(std::string_view data) {
  static const std::array<std::uint32_t, 256> table = makeCrcTable();
  std::uint32_t c = 0xffffffffu;
  for (const char ch : data) c = table[(c ^ static_cast<unsigned char>(ch)) & 0xff] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

std::uint32_t adler32(std::string_view data) {
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const char ch : data) {
    a = (a + static_cast<unsigned char>(ch)) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

void putPngChunk(std::string& out, std::string_view type, std::string_view data) {
  putBe32(out, static_cast<std::uint32_t>(data.size()));
  std::string body(type);
  body += data;
  out += body;
  putBe32(out, crc32(body));
}

// A zlib stream of `raw` in stored (uncompressed) deflate blocks.
std::string zlibStored(std::string_view raw) {
  std::string out = "\x78\x01";
  std::size_t at = 0;
  do {
    const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
    out += static_cast<char>(at + n == raw.size() ? 1 : 0);
    putLe(out, static_cast<std::uint32_t>(n), 2);
    putLe(out, static_cast<std::uint32_t>(~n & 0xffff), 2);
    out.append(raw.substr(at, n));
    at += n;
  } while (at < raw.size());
  putBe32(out, adler32(raw));
  return out;
}

}  // namespace

Raster::Raster(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

host::StatusOr<Raster> Raster::fromBmp(std::string_view bytes) {
  auto layout = readBmpLayout(bytes);
  if (!layout.ok()) return layout.status();
  const BmpLayout& l = *layout;
  Raster r(static_cast<int>(l.width), static_cast<int>(l.height));
  for (std::int64_t y = 0; y < l.height; ++y) {
    const std::int64_t stored = l.topDown ? y : l.height - 1 - y;
    const auto* row = reinterpret_cast<const unsigned char*>(bytes.data() + l.dataOffset +
                                                             stored * l.rowBytes);
    for (std::int64_t x = 0; x < l.width; ++x) {
      r.setPixel(static_cast<int>(x), static_cast<int>(y), bmpPixel(l, row, x));
    }
  }
  return r;
}

std::string Raster::toBmp() const {
  const std::size_t rowBytes = (static_cast<std::size_t>(width_) * 3 + 3) / 4 * 4;
  const std::size_t dataSize = rowBytes * static_cast<std::size_t>(height_);
  std::string out = "BM";
  putLe(out, static_cast<std::uint32_t>(54 + dataSize), 4);
  putLe(out, 0, 4);
  putLe(out, 54, 4);
  putLe(out, 40, 4);
  putLe(out, static_cast<std::uint32_t>(width_), 4);
  putLe(out, static_cast<std::uint32_t>(height_), 4);
  putLe(out, 1, 2);
  putLe(out, 24, 2);
  putLe(out, 0, 4);
  putLe(out, static_cast<std::uint32_t>(dataSize), 4);
  putLe(out, 3780, 4);
  putLe(out, 3780, 4);
  putLe(out, 0, 4);
  putLe(out, 0, 4);
  for (int y = height_ - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width_; ++x) {
      const Rgb c = pixel(x, y);
      row += static_cast<char>(c.b);
      row += static_cast<char>(c.g);
      row += static_cast<char>(c.r);
    }
    row.resize(rowBytes, '\0');
    out += row;
  }
  return out;
}

std::string Raster::toPng() const {
  std::string out = "\x89PNG\r\n\x1a\n";
  std::string header;
  putBe32(header, static_cast<std::uint32_t>(width_));
  putBe32(header, static_cast<std::uint32_t>(height_));
  header += std::string("\x08\x02\x00\x00\x00", 5);
  putPngChunk(out, "IHDR", header);
  std::string raw;
  raw.reserve(static_cast<std::size_t>(height_) * (1 + 3 * static_cast<std::size_t>(width_)));
  for (int y = 0; y < height_; ++y) {
    raw += '\0';
    for (int x = 0; x < width_; ++x) {
      const Rgb c = pixel(x, y);
      raw += static_cast<char>(c.r);
      raw += static_cast<char>(c.g);
      raw += static_cast<char>(c.b);
    }
  }
  putPngChunk(out, "IDAT", zlibStored(raw));
  putPngChunk(out, "IEND", "");
  return out;
}

}  // namespace vistrel::geo
