// WaveUtils: streams, the standard PCM format table, peak levels, and the
// RIFF WAVE reader the file player uses.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/WaveDevice.h"

// ---- Streams ----

class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A byte stream. Read and Write return the bytes moved (fewer at the end);
// failures raise EStreamError.
class TStream {
 public:
  virtual ~TStream() = default;
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  int64_t Size();
};

// A regular file opened for reading. Anything else (a folder, a device, a
// pipe) is refused, so a stray path can never block or read for ever.
class TFileStream : public TStream {
 public:
  explicit TFileStream(const std::string& path);
  ~TFileStream() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;

 private:
  TReadFile file_;
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

// ---- Standard PCM formats ----
// code = 1 + 4 * rate index + (1 if stereo) + (2 if 16-bit) for the rates
// 8000, 11025, 22050, 44100 and 48000 Hz: 1 is 8000 Hz mono 8-bit, 20 is
// 48000 Hz stereo 16-bit. 0 is no standard format.
using TPCMFormat = int;
constexpr TPCMFormat PcmFormatFirst = 1;
constexpr TPCMFormat PcmFormatLast = 20;
// A set of codes: bit n stands for code n.
using TPCMFormats = uint32_t;
constexpr TPCMFormats PcmFormatBit(TPCMFormat code) { return TPCMFormats{1} << code; }

// Fills a PCM format for a code; false (format untouched) when there is none.
bool SetPCMAudioFormat(TWaveFormatEx& format, TPCMFormat code);
TPCMFormat GetPCMAudioFormat(const TWaveFormatEx& format);

// Peak level 0 .. 100 of a block of samples: 8-bit unsigned from the largest
// byte, 16-bit from the largest signed sample; -1 for other widths.
int GetWaveAudioPeakLevel(const uint8_t* data, uint32_t count, uint16_t bitsPerSample);

// Windows-style a * b / c rounded to the nearest; -1 when c is 0 or the
// result does not fit.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// ---- RIFF reading ----

constexpr uint32_t MakeFourCC(char a, char b, char c, char d) {
  return static_cast<uint32_t>(static_cast<uint8_t>(a)) | static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}
// Up to four characters, padded with blanks: "fmt" is "fmt ".
uint32_t FourCC(std::string_view id);

struct TRiffChunk {
  uint32_t Id = 0;
  uint32_t Size = 0;
  uint32_t FormType = 0;   // RIFF and LIST chunks only
  int64_t DataOffset = 0;  // first byte after the size field
};

enum class TRiffFind { Chunk, Riff };

// The RIFF reader over a stream. Its input procedure is a stream adapter that
// keeps its own position, so others may move the stream meanwhile; stream
// errors become a result of -1. Small reads are served from one read-ahead
// block, so walking the chunk headers costs a read per block, not per header.
class TRiffReader {
 public:
  static constexpr size_t ReadAheadBytes = 4096;
  // A real sound file has a handful of chunks; a search that meets more than
  // this many before its chunk gives up, so a file of countless empty chunks
  // costs no more than a normal one.
  static constexpr int MaxChunksSearched = 64;

  // Rewinds the stream; raises when it cannot.
  explicit TRiffReader(TStream& stream);

  int64_t Read(void* buffer, int64_t count);
  int64_t Write(const void* buffer, int64_t count);
  int64_t Seek(int64_t offset, TSeekOrigin origin);

  // Looks from the current position for the chunk chunk.Id (Chunk) or for a
  // RIFF chunk of form type chunk.FormType (Riff), inside parent or at the
  // top level. On success fills the chunk and stands at its data (after the
  // form type for RIFF and LIST). A chunk whose declared size runs past its
  // parent or the stream ends the search unsuccessfully, and so does meeting
  // more than MaxChunksSearched chunks.
  bool Descend(TRiffChunk& chunk, const TRiffChunk* parent, TRiffFind find);
  // Moves past the chunk's data and pad byte.
  bool Ascend(const TRiffChunk& chunk);

 private:
  // Makes the bytes [at, at + count) ready in the read-ahead block, reading
  // a new block from at when they are not all there; returns how many of
  // them the stream has. Stream errors pass on.
  int64_t Ahead(int64_t at, int64_t count);
  const uint8_t* AheadAt(int64_t at) const { return ahead_.data() + (at - aheadStart_); }
  // Whether all of [at, at + count) is ready; stream errors answer false.
  bool Have(int64_t at, int64_t count);

  TStream& stream_;
  int64_t pos_ = 0;
  std::vector<uint8_t> ahead_;  // the stream's bytes from aheadStart_ on
  int64_t aheadStart_ = 0;
};

// The largest "fmt " chunk read: a real one is 16 to 40 bytes.
constexpr uint32_t MaxFormatChunk = 64 * 1024;
constexpr uint32_t MinFormatChunk = 14;
// The format block is at least this long, zero-filled past what was read.
constexpr uint32_t FormatBlockMin = 18;

// Reads the RIFF WAVE header: the "fmt " chunk into format and the size and
// offset of the "data" chunk that follows it. The reader's position is kept.
bool ReadWaveHeader(TRiffReader& reader, std::vector<uint8_t>& format, uint32_t& dataSize, uint32_t& dataOffset);

// The format fields of a format block (missing bytes read as 0). A block in
// the extensible layout whose subformat is plain PCM reads as plain PCM.
TWaveFormatEx WaveFormatFromBlock(const std::vector<uint8_t>& block);
