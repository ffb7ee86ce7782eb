#include "png/Png.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

#include "platform/Canvas.h"

namespace {

// ---- Deflate with the fixed Huffman codes ----
//
// Screenshots are mostly flat colour, so plain LZ77 matching with the fixed
// codes already shrinks them many times over; dynamic tables are not worth
// their code here.

constexpr int MinMatch = 3;
constexpr int MaxMatch = 258;
constexpr int WindowSize = 32768;
constexpr int HashBits = 15;
constexpr int MaxChainSteps = 32;

constexpr std::array<uint16_t, 29> LengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> LengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<uint16_t, 30> DistanceBase = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                                   33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<uint8_t, 30> DistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                   6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class TBitWriter {
 public:
  explicit TBitWriter(std::vector<uint8_t>& out) : out_(out) {}
  // Deflate packs values least significant bit first.
  void Put(uint32_t value, int bits) {
    buffer_ |= static_cast<uint64_t>(value) << count_;
    count_ += bits;
    while (count_ >= 8) {
      out_.push_back(static_cast<uint8_t>(buffer_));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }
  // Huffman codes go most significant bit first.
  void PutCode(uint32_t code, int bits) {
    uint32_t reversed = 0;
    for (int i = 0; i < bits; ++i) reversed |= ((code >> i) & 1u) << (bits - 1 - i);
    Put(reversed, bits);
  }
  void Flush() {
    if (count_ > 0) out_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint64_t buffer_ = 0;
  int count_ = 0;
};

void PutLiteralOrLength(TBitWriter& w, int symbol) {
  if (symbol < 144)
    w.PutCode(0x30 + symbol, 8);
  else if (symbol < 256)
    w.PutCode(0x190 + symbol - 144, 9);
  else if (symbol < 280)
    w.PutCode(symbol - 256, 7);
  else
    w.PutCode(0xC0 + symbol - 280, 8);
}

void PutMatch(TBitWriter& w, int length, int distance) {
  int li = static_cast<int>(std::upper_bound(LengthBase.begin(), LengthBase.end(), length) - LengthBase.begin()) - 1;
  PutLiteralOrLength(w, 257 + li);
  if (LengthExtra[li]) w.Put(length - LengthBase[li], LengthExtra[li]);
  int di =
      static_cast<int>(std::upper_bound(DistanceBase.begin(), DistanceBase.end(), distance) - DistanceBase.begin()) - 1;
  w.PutCode(di, 5);
  if (DistanceExtra[di]) w.Put(distance - DistanceBase[di], DistanceExtra[di]);
}

inline uint32_t Hash3(const uint8_t* p) {
  uint32_t v = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
  return (v * 2654435761u) >> (32 - HashBits);
}

void Deflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  TBitWriter w(out);
  w.Put(1, 1);  // the last block
  w.Put(1, 2);  // fixed Huffman codes
  std::vector<int64_t> head(size_t{1} << HashBits, -1);
  std::vector<int64_t> prev(WindowSize, -1);
  auto insert = [&](size_t pos) {
    uint32_t h = Hash3(data + pos);
    prev[pos % WindowSize] = head[h];
    head[h] = static_cast<int64_t>(pos);
  };
  size_t pos = 0;
  while (pos < size) {
    int bestLength = 0;
    size_t bestDistance = 0;
    if (pos + MinMatch <= size) {
      const size_t limit = std::min<size_t>(MaxMatch, size - pos);
      int64_t candidate = head[Hash3(data + pos)];
      for (int steps = 0; candidate >= 0 && steps < MaxChainSteps; ++steps) {
        size_t distance = pos - static_cast<size_t>(candidate);
        if (distance > WindowSize) break;
        size_t length = 0;
        while (length < limit && data[candidate + length] == data[pos + length]) ++length;
        if (static_cast<int>(length) > bestLength) {
          bestLength = static_cast<int>(length);
          bestDistance = distance;
          if (length == limit) break;
        }
        int64_t next = prev[candidate % WindowSize];
        if (next >= candidate) break;  // the slot was reused by a newer position
        candidate = next;
      }
    }
    if (bestLength >= MinMatch) {
      PutMatch(w, bestLength, static_cast<int>(bestDistance));
      for (int i = 0; i < bestLength; ++i, ++pos)
        if (pos + MinMatch <= size) insert(pos);
    } else {
      PutLiteralOrLength(w, data[pos]);
      if (pos + MinMatch <= size) insert(pos);
      ++pos;
    }
  }
  PutLiteralOrLength(w, 256);  // end of block
  w.Flush();
}

uint32_t Adler32(const uint8_t* data, size_t size) {
  uint32_t a = 1, b = 0;
  while (size > 0) {
    size_t n = std::min<size_t>(size, 5552);  // the most bytes before b can overflow
    size -= n;
    while (n--) {
      a += *data++;
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16) | a;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v >> 24));
  out.push_back(static_cast<uint8_t>(v >> 16));
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v));
}

void PutChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& body) {
  PutBig32(out, static_cast<uint32_t>(body.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// Filters one row with whichever of None, Sub and Up leaves the smallest
// values (the usual heuristic), writing the filter byte first.
void FilterRow(const uint8_t* row, const uint8_t* above, size_t n, std::vector<uint8_t>& out) {
  constexpr int Bpp = 3;
  uint64_t cost[3] = {0, 0, 0};
  for (size_t i = 0; i < n; ++i) {
    uint8_t left = i >= Bpp ? row[i - Bpp] : 0;
    uint8_t up = above ? above[i] : 0;
    auto mag = [](uint8_t v) { return v < 128 ? v : 256 - v; };
    cost[0] += mag(row[i]);
    cost[1] += mag(static_cast<uint8_t>(row[i] - left));
    cost[2] += mag(static_cast<uint8_t>(row[i] - up));
  }
  int best = static_cast<int>(std::min_element(cost, cost + 3) - cost);
  out.push_back(static_cast<uint8_t>(best));
  for (size_t i = 0; i < n; ++i) {
    uint8_t left = i >= Bpp ? row[i - Bpp] : 0;
    uint8_t up = above ? above[i] : 0;
    out.push_back(static_cast<uint8_t>(best == 0 ? row[i] : best == 1 ? row[i] - left : row[i] - up));
  }
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::vector<uint8_t> ZlibCompress(const uint8_t* data, size_t size) {
  std::vector<uint8_t> out = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  Deflate(data, size, out);
  PutBig32(out, Adler32(data, size));
  return out;
}

std::vector<uint8_t> EncodePng(const TBitmap& bitmap) {
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return {};
  const size_t rowBytes = static_cast<size_t>(w) * 3;
  std::vector<uint8_t> filtered;
  filtered.reserve((rowBytes + 1) * h);
  std::vector<uint8_t> row(rowBytes), above(rowBytes);
  for (int y = 0; y < h; ++y) {
    const uint32_t* p = bitmap.Scanline(y);
    for (int x = 0; x < w; ++x) {  // 0x00BBGGRR to R, G, B
      row[x * 3] = static_cast<uint8_t>(p[x]);
      row[x * 3 + 1] = static_cast<uint8_t>(p[x] >> 8);
      row[x * 3 + 2] = static_cast<uint8_t>(p[x] >> 16);
    }
    FilterRow(row.data(), y > 0 ? above.data() : nullptr, rowBytes, filtered);
    std::swap(row, above);
  }

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(w));
  PutBig32(header, static_cast<uint32_t>(h));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, adaptive filters, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", ZlibCompress(filtered.data(), filtered.size()));
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const TBitmap& bitmap, const std::string& path) {
  std::vector<uint8_t> png = EncodePng(bitmap);
  if (png.empty() || path.empty()) return false;
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    out.close();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}
