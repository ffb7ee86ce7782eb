// Screenshots: the PNG's structure and checksums, and a round trip of the
// pixels through zlib's inflater.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <zlib.h>

#include "platform/Canvas.h"
#include "png/Png.h"

namespace {

uint32_t Big32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// zlib, an inflater that is not ours, reads what the writer deflated: the
// whole stream and nothing after it, its Adler-32 checked.
std::vector<uint8_t> Inflate(const std::vector<uint8_t>& z, size_t expected) {
  std::vector<uint8_t> out(expected + 1);
  uLongf size = out.size();
  uLong used = z.size();
  EXPECT_EQ(uncompress2(out.data(), &size, z.data(), &used), Z_OK);
  EXPECT_EQ(used, z.size());
  out.resize(size);
  return out;
}

TEST(Png, Crc32MatchesTheStandardCheckValue) {
  const char* s = "123456789";
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(s), 9), 0xCBF43926u);
  // Continuing a CRC over a split buffer gives the same result.
  EXPECT_EQ(Crc32(reinterpret_cast<const uint8_t*>(s) + 4, 5, Crc32(reinterpret_cast<const uint8_t*>(s), 4)),
            0xCBF43926u);
}

TEST(Png, ZlibRoundTripsRunsAndNoise) {
  std::vector<uint8_t> data;
  for (int i = 0; i < 70000; ++i) data.push_back(static_cast<uint8_t>(i % 7 == 0 ? i * 31 : i / 300));
  for (int i = 0; i < 3000; ++i) data.push_back(static_cast<uint8_t>((i * 2654435761u) >> 13));
  data.insert(data.end(), 40000, 0);  // a long run: matches at distance 1
  for (const auto& input : {data, std::vector<uint8_t>{}, std::vector<uint8_t>{7}, std::vector<uint8_t>{1, 2}}) {
    EXPECT_EQ(Inflate(ZlibCompress(input.data(), input.size()), input.size()), input);
  }
  // Flat colour, as most of a screenshot is, shrinks to almost nothing.
  std::vector<uint8_t> flat(100000, 42);
  EXPECT_LT(ZlibCompress(flat.data(), flat.size()).size(), 1000u);
}

TEST(Png, FileHasValidChunksAndThePixels) {
  TBitmap b(37, 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) b.Scanline(y)[x] = static_cast<TColor>((x * 7) | (y * 11) << 8 | ((x ^ y) * 5) << 16);
  b.Scanline(0)[0] = 0x0000FF;  // red: R is the low byte of the colour

  auto path = std::filesystem::temp_directory_path() / ("glyphfall-png-test-" + std::to_string(::getpid()) + ".png");
  ASSERT_TRUE(WritePng(b, path.string()));
  EXPECT_FALSE(std::filesystem::exists(path.string() + ".tmp"));
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(path);

  const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  ASSERT_GT(f.size(), 8u + 25u);
  ASSERT_TRUE(std::equal(signature, signature + 8, f.begin()));

  std::vector<std::string> types;
  std::vector<uint8_t> idat;
  size_t pos = 8;
  while (pos + 12 <= f.size()) {
    uint32_t len = Big32(&f[pos]);
    ASSERT_LE(pos + 12 + len, f.size());
    std::string type(f.begin() + pos + 4, f.begin() + pos + 8);
    EXPECT_EQ(Big32(&f[pos + 8 + len]), Crc32(&f[pos + 4], len + 4)) << type;
    if (type == "IHDR") {
      ASSERT_EQ(len, 13u);
      EXPECT_EQ(Big32(&f[pos + 8]), 37u);
      EXPECT_EQ(Big32(&f[pos + 12]), 23u);
      EXPECT_EQ(f[pos + 16], 8);  // bit depth
      EXPECT_EQ(f[pos + 17], 2);  // RGB
      EXPECT_EQ(f[pos + 20], 0);  // not interlaced
    }
    if (type == "IDAT") idat.insert(idat.end(), f.begin() + pos + 8, f.begin() + pos + 8 + len);
    types.push_back(type);
    pos += 12 + len;
  }
  EXPECT_EQ(pos, f.size());
  ASSERT_EQ(types.front(), "IHDR");
  EXPECT_EQ(types.back(), "IEND");

  // Undo the row filters and compare with the bitmap.
  const size_t stride = 37 * 3;
  std::vector<uint8_t> raw = Inflate(idat, 23 * (stride + 1));
  ASSERT_EQ(raw.size(), 23 * (stride + 1));
  std::vector<uint8_t> prev(stride, 0), row(stride);
  for (int y = 0; y < 23; ++y) {
    const uint8_t* r = &raw[y * (stride + 1)];
    ASSERT_LE(r[0], 4);
    for (size_t i = 0; i < stride; ++i) {
      int a = i >= 3 ? row[i - 3] : 0, up = prev[i], c = i >= 3 ? prev[i - 3] : 0;
      int pred = 0;
      switch (r[0]) {
        case 1: pred = a; break;
        case 2: pred = up; break;
        case 3: pred = (a + up) / 2; break;
        case 4: {
          int p = a + up - c, pa = std::abs(p - a), pb = std::abs(p - up), pc = std::abs(p - c);
          pred = (pa <= pb && pa <= pc) ? a : pb <= pc ? up : c;
        } break;
      }
      row[i] = static_cast<uint8_t>(r[1 + i] + pred);
    }
    for (int x = 0; x < 37; ++x) {
      TColor expected = b.Scanline(y)[x];
      ASSERT_EQ(row[x * 3], expected & 0xFF) << x << "," << y;
      ASSERT_EQ(row[x * 3 + 1], (expected >> 8) & 0xFF);
      ASSERT_EQ(row[x * 3 + 2], (expected >> 16) & 0xFF);
    }
    prev = row;
  }
}

TEST(Png, RefusesWhatCannotBeWritten) {
  TBitmap empty;
  EXPECT_TRUE(EncodePng(empty).empty());
  std::string scratch = (std::filesystem::temp_directory_path() / "glyphfall-png-XXXXXX").string();
  ASSERT_NE(mkdtemp(scratch.data()), nullptr);
  const std::filesystem::path dir = scratch;
  EXPECT_FALSE(WritePng(empty, (dir / "empty.png").string()));
  EXPECT_FALSE(std::filesystem::exists(dir / "empty.png"));
  TBitmap b(2, 2);
  EXPECT_FALSE(WritePng(b, (dir / "no-such-folder" / "shot.png").string()));
  EXPECT_FALSE(WritePng(b, ""));
  EXPECT_TRUE(std::filesystem::is_empty(dir));  // nothing half-written left behind
  std::filesystem::remove_all(dir);
}

}  // namespace
