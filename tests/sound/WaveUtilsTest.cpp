#include <gtest/gtest.h>

#include <tuple>

#include "sound/SoundRig.h"
#include "sound/WaveUtils.h"

namespace {

struct Header {
  bool Ok = false;
  TBytes Format;
  uint32_t DataSize = 0;
  uint32_t DataOffset = 0;
};

Header Read(const TBytes& file) {
  TMemoryStream stream(file);
  TRiffReader reader(stream);
  Header h;
  reader.Seek(5, TSeekOrigin::Beginning);
  h.Ok = ReadWaveHeader(reader, h.Format, h.DataSize, h.DataOffset);
  // Wherever the reader was, it is there again.
  EXPECT_EQ(reader.Seek(0, TSeekOrigin::Current), 5);
  return h;
}

}  // namespace

TEST(RiffReading, SixteenByteFormatIsReadIntoAZeroedEighteenByteBlock) {
  Header h = Read(WaveFile(100));
  ASSERT_TRUE(h.Ok);
  ASSERT_EQ(h.Format.size(), 18u);
  EXPECT_EQ(h.Format[16], 0);
  EXPECT_EQ(h.Format[17], 0);
  TWaveFormatEx f = WaveFormatFromBlock(h.Format);
  EXPECT_EQ(f.nSamplesPerSec, 22050u);
  EXPECT_EQ(f.wBitsPerSample, 16);
  EXPECT_EQ(h.DataSize, 100u);
  EXPECT_EQ(h.DataOffset, 12u + 8 + 16 + 8);
}

TEST(RiffReading, FormatChunkSizeLimits) {
  TBytes fmt = FmtData(22050, 1, 16);
  // 14 bytes (no bit width) is the least that is read.
  EXPECT_TRUE(Read(Riff({Chunk("fmt ", TBytes(fmt.begin(), fmt.begin() + 14)), Chunk("data", Samples(4))})).Ok);
  EXPECT_FALSE(Read(Riff({Chunk("fmt ", TBytes(fmt.begin(), fmt.begin() + 12)), Chunk("data", Samples(4))})).Ok);
  // A larger block is read whole; one above 64 KiB is refused unread.
  TBytes big = fmt;
  big.resize(40, 0xAB);
  Header h = Read(Riff({Chunk("fmt ", big), Chunk("data", Samples(4))}));
  ASSERT_TRUE(h.Ok);
  EXPECT_EQ(h.Format.size(), 40u);
  big.resize(MaxFormatChunk + 2, 0);
  EXPECT_FALSE(Read(Riff({Chunk("fmt ", big), Chunk("data", Samples(4))})).Ok);
}

TEST(RiffReading, OtherChunksAreSkippedOddSizesIncluded) {
  TBytes list = {'I', 'N', 'F', 'O', 'x', 'y', 'z'};  // odd: one pad byte follows
  Header h = Read(Riff({Chunk("JUNK", Samples(3)), Chunk("fmt ", FmtData(8000, 1, 8)), Chunk("LIST", list),
                        Chunk("data", Samples(9)), Chunk("cue ", Samples(8))}));
  ASSERT_TRUE(h.Ok);
  EXPECT_EQ(h.DataSize, 9u);
  EXPECT_EQ(WaveFormatFromBlock(h.Format).nSamplesPerSec, 8000u);
}

TEST(RiffReading, MissingPartsMakeTheHeaderUnreadable) {
  EXPECT_FALSE(Read({}).Ok);
  EXPECT_FALSE(Read(TBytes{'R', 'I', 'F', 'F', 4, 0}).Ok);
  EXPECT_FALSE(Read(Riff({Chunk("data", Samples(8))})).Ok);
  EXPECT_FALSE(Read(Riff({Chunk("fmt ", FmtData(8000, 1, 8))})).Ok);
  // "data" must follow "fmt ".
  EXPECT_FALSE(Read(Riff({Chunk("data", Samples(8)), Chunk("fmt ", FmtData(8000, 1, 8))})).Ok);
  TBytes notWave = WaveFile(8);
  std::memcpy(notWave.data() + 8, "AVI ", 4);
  EXPECT_FALSE(Read(notWave).Ok);
}

TEST(RiffReading, DeclaredSizesBeyondParentOrStreamAreRefused) {
  const TBytes fmt = Chunk("fmt ", FmtData(22050, 1, 16));
  // The RIFF chunk claims more than the file holds.
  TBytes file = WaveFile(100);
  EXPECT_FALSE(Read(Riff({fmt, Chunk("data", Samples(100))}, 0x7FFFFFF0)).Ok);
  // A file cut short, by even a byte.
  file.resize(file.size() - 1);
  EXPECT_FALSE(Read(file).Ok);
  // "data" claims more than its RIFF chunk.
  EXPECT_FALSE(Read(Riff({fmt, Chunk("data", Samples(100), 0xFFFFFFF0)})).Ok);
  // "fmt " claims gigabytes: refused without allocating them.
  EXPECT_FALSE(Read(Riff({Chunk("fmt ", FmtData(22050, 1, 16), 0xFFFFFFFF), Chunk("data", Samples(4))})).Ok);
  // A skipped chunk that runs past its parent ends the search.
  EXPECT_FALSE(Read(Riff({fmt, Chunk("LIST", Samples(8), 5000), Chunk("data", Samples(4))})).Ok);
}

// A file of countless empty chunks once cost a read for each of them, on
// every sound: 100 000 of them stalled the game for most of a second.
TEST(RiffReading, ChunkWalkIsBoundedAndReadsTheHeaderInOneGo) {
  struct TCountingStream : TMemoryStream {
    using TMemoryStream::TMemoryStream;
    int64_t Read(void* buffer, int64_t count) override {
      ++Reads;
      return TMemoryStream::Read(buffer, count);
    }
    int Reads = 0;
  };
  auto read = [](const TBytes& file, int& reads) {
    TCountingStream stream(file);
    TRiffReader reader(stream);
    TBytes format;
    uint32_t size = 0, offset = 0;
    const bool ok = ReadWaveHeader(reader, format, size, offset);
    reads = stream.Reads;
    return ok;
  };
  auto withEmptyChunks = [](int count) {
    std::vector<TBytes> chunks(static_cast<size_t>(count), Chunk("junk", {}));
    chunks.push_back(Chunk("fmt ", FmtData(22050, 1, 16)));
    chunks.push_back(Chunk("data", Samples(5000)));
    return Riff(chunks);
  };
  int normalReads = 0, fewReads = 0, craftedReads = 0;
  EXPECT_TRUE(read(WaveFile(5000), normalReads));
  EXPECT_TRUE(read(withEmptyChunks(20), fewReads));
  EXPECT_FALSE(read(withEmptyChunks(100000), craftedReads));
  EXPECT_LE(fewReads, normalReads);
  EXPECT_LE(craftedReads, normalReads);
}

TEST(RiffReading, ExtensibleFormatWithPlainPcmReadsAsPcm) {
  auto extensible = [](uint16_t subFormat) {
    TBytes f = FmtData(22050, 2, 16);
    f[0] = 0xFE, f[1] = 0xFF;
    Append16(f, 22);         // extra bytes
    Append16(f, 16);         // valid bits
    Append32(f, 3);          // front left and right
    Append16(f, subFormat);  // the subformat GUID: the plain tag, then a fixed tail
    for (uint8_t b : {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71})
      f.push_back(b);
    return Read(Riff({Chunk("fmt ", f), Chunk("data", Samples(8))}));
  };
  Header pcm = extensible(WAVE_FORMAT_PCM);
  ASSERT_TRUE(pcm.Ok);
  TWaveFormatEx f = WaveFormatFromBlock(pcm.Format);
  EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(f.nChannels, 2);
  EXPECT_EQ(GetPCMAudioFormat(f), 12);  // 22050 Hz stereo 16-bit
  // Floating-point samples (subformat 3) stay what they are: not playable.
  for (uint16_t other : {3, 0x0101}) EXPECT_NE(WaveFormatFromBlock(extensible(other).Format).wFormatTag, WAVE_FORMAT_PCM);
}

TEST(RiffReading, StreamAdapterKeepsItsOwnPosition) {
  TMemoryStream stream(Samples(16));
  TRiffReader reader(stream);
  uint8_t b[4];
  ASSERT_EQ(reader.Read(b, 4), 4);
  stream.Seek(10, TSeekOrigin::Beginning);  // someone else moves the stream
  ASSERT_EQ(reader.Read(b, 1), 1);
  EXPECT_EQ(b[0], Samples(16)[4]);
  EXPECT_EQ(reader.Seek(2, TSeekOrigin::Current), 7);
  EXPECT_EQ(reader.Seek(-1, TSeekOrigin::Beginning), -1);  // stream errors become -1
}

TEST(PcmFormats, CodesCoverFiveRatesInFourVariants) {
  TWaveFormatEx f;
  // {code, rate, channels, bits, bytes a second}
  for (auto [code, rate, channels, bits, perSecond] :
       {std::tuple{1, 8000u, 1, 8, 8000u}, {11, 22050u, 1, 16, 44100u}, {20, 48000u, 2, 16, 192000u}}) {
    ASSERT_TRUE(SetPCMAudioFormat(f, static_cast<TPCMFormat>(code)));
    EXPECT_EQ(std::tuple(f.nSamplesPerSec, int{f.nChannels}, int{f.wBitsPerSample}, f.nAvgBytesPerSec),
              std::tuple(rate, channels, bits, perSecond)) << code;
  }
  for (TPCMFormat code = 1; code <= 20; ++code) {
    ASSERT_TRUE(SetPCMAudioFormat(f, code));
    EXPECT_EQ(GetPCMAudioFormat(f), code);
  }
  EXPECT_FALSE(SetPCMAudioFormat(f, 0));
  EXPECT_FALSE(SetPCMAudioFormat(f, 21));
}

TEST(PcmFormats, PeakLevels) {
  const uint8_t eight[] = {0, 128, 191, 100};
  EXPECT_EQ(GetWaveAudioPeakLevel(eight, 4, 8), (191 - 128) * 100 / 127);
  const uint8_t low[] = {0, 127, 50};
  EXPECT_EQ(GetWaveAudioPeakLevel(low, 3, 8), 0);
  // 16-bit: the largest signed sample, negative ones do not count.
  const uint8_t sixteen[] = {0x00, 0x40, 0x00, 0x80, 0xFF, 0x7F};  // 16384, -32768, 32767
  EXPECT_EQ(GetWaveAudioPeakLevel(sixteen, 4, 16), 16384 * 100 / 32767);
  EXPECT_EQ(GetWaveAudioPeakLevel(sixteen, 6, 16), 100);
  EXPECT_EQ(GetWaveAudioPeakLevel(sixteen, 0, 16), 0);
  EXPECT_EQ(GetWaveAudioPeakLevel(sixteen, 6, 24), -1);
}

TEST(PcmFormats, MulDivRoundsToNearest) {
  EXPECT_EQ(MulDiv(75, 0xFFFF, 100), 49151);
  EXPECT_EQ(MulDiv(49151, 100, 0xFFFF), 75);
  EXPECT_EQ(MulDiv(50, 0xFFFF, 100), 32768);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
}
