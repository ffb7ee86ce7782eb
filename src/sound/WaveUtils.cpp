#include "sound/WaveUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

// ---- Streams ----

int64_t TStream::Size() {
  const int64_t here = Position();
  const int64_t size = Seek(0, TSeekOrigin::End);
  Seek(here, TSeekOrigin::Beginning);
  return size;
}

// Linux has no share modes; other writers are not locked out.
TFileStream::TFileStream(const std::string& path) : file_(path) {}

TFileStream::~TFileStream() = default;

int64_t TFileStream::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  try {
    return static_cast<int64_t>(file_.Read(buffer, static_cast<size_t>(count)));
  } catch (const EFileError& e) {
    throw EStreamError(e.what());
  }
}

int64_t TFileStream::Write(const void*, int64_t) { throw EStreamError("Stream is read-only"); }

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  try {
    return file_.Seek(offset, origin);
  } catch (const EFileError& e) {
    throw EStreamError(e.what());
  }
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || pos_ >= static_cast<int64_t>(data_.size())) return 0;
  const int64_t n = std::min<int64_t>(count, static_cast<int64_t>(data_.size()) - pos_);
  std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const size_t end = static_cast<size_t>(pos_ + count);
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t base = origin == TSeekOrigin::Beginning ? 0
                       : origin == TSeekOrigin::Current ? pos_
                                                        : static_cast<int64_t>(data_.size());
  const int64_t to = base + offset;
  if (to < 0) throw EStreamError("Seek before the start of the stream");
  pos_ = to;
  return pos_;
}

// ---- Standard PCM formats ----

namespace {
constexpr uint32_t PcmRates[] = {8000, 11025, 22050, 44100, 48000};
}

bool SetPCMAudioFormat(TWaveFormatEx& format, TPCMFormat code) {
  if (code < PcmFormatFirst || code > PcmFormatLast) return false;
  const int index = (code - 1) / 4;
  const int variant = (code - 1) % 4;
  TWaveFormatEx f;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = (variant & 1) ? 2 : 1;
  f.wBitsPerSample = (variant & 2) ? 16 : 8;
  f.nSamplesPerSec = PcmRates[index];
  f.nBlockAlign = static_cast<uint16_t>(f.nChannels * f.wBitsPerSample / 8);
  f.nAvgBytesPerSec = f.nBlockAlign * f.nSamplesPerSec;
  f.cbSize = 0;
  format = f;
  return true;
}

TPCMFormat GetPCMAudioFormat(const TWaveFormatEx& format) {
  if (format.wFormatTag != WAVE_FORMAT_PCM) return 0;
  for (TPCMFormat code = PcmFormatFirst; code <= PcmFormatLast; ++code) {
    TWaveFormatEx f;
    SetPCMAudioFormat(f, code);
    if (f.nChannels == format.nChannels && f.wBitsPerSample == format.wBitsPerSample &&
        f.nSamplesPerSec == format.nSamplesPerSec)
      return code;
  }
  return 0;
}

int GetWaveAudioPeakLevel(const uint8_t* data, uint32_t count, uint16_t bitsPerSample) {
  if (bitsPerSample == 8) {
    uint8_t peak = 0;
    for (uint32_t i = 0; i < count; ++i) peak = std::max(peak, data[i]);
    return peak >= 128 ? (peak - 128) * 100 / 127 : 0;
  }
  if (bitsPerSample == 16) {
    int peak = 0;
    for (uint32_t i = 0; i + 1 < count; i += 2) {
      const int s = static_cast<int16_t>(static_cast<uint16_t>(data[i] | data[i + 1] << 8));
      peak = std::max(peak, s);
    }
    return peak * 100 / 32767;
  }
  return -1;
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = static_cast<int64_t>(a) * b;
  int64_t q = p / c;
  const int64_t rem = p % c;
  // Round half away from zero.
  if (2 * (rem < 0 ? -rem : rem) >= (c < 0 ? -static_cast<int64_t>(c) : c)) q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q > std::numeric_limits<int32_t>::max() || q < std::numeric_limits<int32_t>::min()) return -1;
  return static_cast<int32_t>(q);
}

// ---- RIFF reading ----

uint32_t FourCC(std::string_view id) {
  char c[4] = {' ', ' ', ' ', ' '};
  for (size_t i = 0; i < id.size() && i < 4; ++i) c[i] = id[i];
  return MakeFourCC(c[0], c[1], c[2], c[3]);
}

namespace {

constexpr uint32_t RiffId = MakeFourCC('R', 'I', 'F', 'F');
constexpr uint32_t ListId = MakeFourCC('L', 'I', 'S', 'T');

uint32_t LittleEndian32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

TRiffReader::TRiffReader(TStream& stream) : stream_(stream) { stream_.Seek(0, TSeekOrigin::Beginning); }

int64_t TRiffReader::Ahead(int64_t at, int64_t count) {
  if (at < aheadStart_ || at + count > aheadStart_ + static_cast<int64_t>(ahead_.size())) {
    stream_.Seek(at, TSeekOrigin::Beginning);
    ahead_.resize(ReadAheadBytes);
    ahead_.resize(static_cast<size_t>(stream_.Read(ahead_.data(), static_cast<int64_t>(ahead_.size()))));
    aheadStart_ = at;
  }
  return std::clamp<int64_t>(aheadStart_ + static_cast<int64_t>(ahead_.size()) - at, 0, count);
}

bool TRiffReader::Have(int64_t at, int64_t count) {
  try {
    return Ahead(at, count) == count;
  } catch (const std::exception&) {
    return false;
  }
}

int64_t TRiffReader::Read(void* buffer, int64_t count) {
  if (count <= 0) return 0;
  try {
    if (count <= static_cast<int64_t>(ReadAheadBytes)) {
      const int64_t n = Ahead(pos_, count);
      if (n > 0) std::memcpy(buffer, AheadAt(pos_), static_cast<size_t>(n));
      pos_ += n;
      return n;
    }
    stream_.Seek(pos_, TSeekOrigin::Beginning);
    const int64_t n = stream_.Read(buffer, count);
    pos_ = stream_.Position();
    return n;
  } catch (const std::exception&) {
    ahead_.clear();
    return -1;
  }
}

int64_t TRiffReader::Write(const void* buffer, int64_t count) {
  ahead_.clear();
  try {
    stream_.Seek(pos_, TSeekOrigin::Beginning);
    const int64_t n = stream_.Write(buffer, count);
    pos_ = stream_.Position();
    return n;
  } catch (const std::exception&) {
    return -1;
  }
}

int64_t TRiffReader::Seek(int64_t offset, TSeekOrigin origin) {
  // Moving from the start or from here only moves the kept position; the
  // stream is moved when it is next read.
  if (origin != TSeekOrigin::End) {
    const int64_t to = (origin == TSeekOrigin::Current ? pos_ : 0) + offset;
    if (to < 0) return -1;
    pos_ = to;
    return pos_;
  }
  try {
    pos_ = stream_.Seek(offset, origin);
    return pos_;
  } catch (const std::exception&) {
    return -1;
  }
}

bool TRiffReader::Descend(TRiffChunk& chunk, const TRiffChunk* parent, TRiffFind find) {
  int64_t end;
  if (parent) {
    end = parent->DataOffset + parent->Size;
  } else {
    const int64_t here = pos_;
    end = Seek(0, TSeekOrigin::End);
    if (end < 0 || Seek(here, TSeekOrigin::Beginning) < 0) return false;
  }
  int64_t at = pos_;
  // Every step moves on by at least eight bytes inside a finite range. The
  // headers are read in place from the read-ahead block.
  for (int searched = 0; at + 8 <= end && searched < MaxChunksSearched; ++searched) {
    if (!Have(at, 8)) return false;
    const uint32_t id = LittleEndian32(AheadAt(at));
    const uint32_t size = LittleEndian32(AheadAt(at) + 4);
    const int64_t data = at + 8;
    if (data + size > end) return false;  // claims more than there is
    const bool hasForm = id == RiffId || id == ListId;
    uint32_t form = 0;
    if (hasForm) {
      if (size < 4 || !Have(data, 4)) return false;
      form = LittleEndian32(AheadAt(data));
    }
    const bool match = find == TRiffFind::Riff ? (id == RiffId && form == chunk.FormType) : id == chunk.Id;
    if (match) {
      chunk.Id = id;
      chunk.Size = size;
      chunk.FormType = form;
      chunk.DataOffset = data;
      return Seek(data + (hasForm ? 4 : 0), TSeekOrigin::Beginning) >= 0;
    }
    at = data + size + (size & 1);
  }
  return false;
}

bool TRiffReader::Ascend(const TRiffChunk& chunk) {
  const int64_t to = chunk.DataOffset + chunk.Size + (chunk.Size & 1);
  return Seek(to, TSeekOrigin::Beginning) == to;
}

bool ReadWaveHeader(TRiffReader& reader, std::vector<uint8_t>& format, uint32_t& dataSize, uint32_t& dataOffset) {
  const int64_t saved = reader.Seek(0, TSeekOrigin::Current);
  bool ok = false;
  std::vector<uint8_t> block;
  TRiffChunk riff, fmt, data;
  riff.FormType = FourCC("WAVE");
  fmt.Id = FourCC("fmt");
  data.Id = FourCC("data");
  if (reader.Seek(0, TSeekOrigin::Beginning) == 0 && reader.Descend(riff, nullptr, TRiffFind::Riff) &&
      reader.Descend(fmt, &riff, TRiffFind::Chunk) && fmt.Size >= MinFormatChunk && fmt.Size <= MaxFormatChunk) {
    block.assign(std::max(fmt.Size, FormatBlockMin), 0);
    ok = reader.Read(block.data(), fmt.Size) == fmt.Size && reader.Ascend(fmt) &&
         reader.Descend(data, &riff, TRiffFind::Chunk) && data.DataOffset <= std::numeric_limits<uint32_t>::max();
  }
  if (saved >= 0) reader.Seek(saved, TSeekOrigin::Beginning);
  if (!ok) return false;
  format = std::move(block);
  dataSize = data.Size;
  dataOffset = static_cast<uint32_t>(data.DataOffset);
  return true;
}

TWaveFormatEx WaveFormatFromBlock(const std::vector<uint8_t>& block) {
  uint8_t b[FormatBlockMin] = {};
  std::memcpy(b, block.data(), std::min<size_t>(block.size(), FormatBlockMin));
  auto u16 = [&](int i) { return static_cast<uint16_t>(b[i] | b[i + 1] << 8); };
  TWaveFormatEx f;
  f.wFormatTag = u16(0);
  f.nChannels = u16(2);
  f.nSamplesPerSec = LittleEndian32(b + 4);
  f.nAvgBytesPerSec = LittleEndian32(b + 8);
  f.nBlockAlign = u16(12);
  f.wBitsPerSample = u16(14);
  f.cbSize = u16(16);
  // The extensible layout appends valid bits (2 bytes), a channel mask (4) and
  // a 16-byte subformat GUID, whose first two bytes are the plain format tag.
  // The valid bits need no handling: samples fill their container from the top.
  constexpr uint16_t ExtensibleTag = 0xFFFE;
  constexpr uint16_t ExtensibleExtra = 22;
  constexpr size_t SubFormatAt = FormatBlockMin + 6;
  static constexpr uint8_t PcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                              0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
  if (f.wFormatTag == ExtensibleTag && f.cbSize >= ExtensibleExtra && block.size() >= SubFormatAt + 16 &&
      block[SubFormatAt] == WAVE_FORMAT_PCM && block[SubFormatAt + 1] == 0 &&
      std::memcmp(block.data() + SubFormatAt + 2, PcmGuidTail, sizeof PcmGuidTail) == 0) {
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.cbSize = 0;
  }
  return f;
}
