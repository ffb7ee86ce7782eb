// Fire-and-forget sound effects, and the files the build makes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "sound/SoundEffects.h"
#include "sound/SoundRig.h"
#include "sound/WaveUtils.h"
#include "support/InFolder.h"

namespace {

const char* const SoundNames[] = {"letter",   "brick",   "explode", "detonatebomb", "bomb",      "castle",
                                  "slowdown", "retreat", "speedup", "cannon",       "bossalert", "castledestroyed",
                                  "miss"};

// A fresh folder of the test's own stands for the program's folder.
class SoundEffects : public SoundRig {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("glyphfall-sound-" + std::to_string(::getpid()) + "-" +
                                                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  void MakeWaveFolder(size_t dataBytes) {
    std::filesystem::create_directories("wave");
    const TBytes file = WaveFile(dataBytes);
    for (const char* name : SoundNames) {
      std::ofstream out(std::string("wave/") + name + ".wav", std::ios::binary);
      out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    }
  }

  std::filesystem::path folder_;
};

}  // namespace

TEST_F(SoundEffects, CallsInOneFrameOverlapAndEachPlayerGoesWhenDone) {
  InFolder(folder_, [this] {
    MakeWaveFolder(22050);  // half a second
    PlaySoundFile("wave\\detonatebomb.wav");
    for (int i = 0; i < 20; ++i) PlaySoundFile("wave\\letter.wav");
    EXPECT_EQ(Players(), 21);
    EXPECT_EQ(sim.OpenCount(), 21u);
    Pump();
    Pump();
    EXPECT_EQ(sim.Writes().size(), 21u);
    EXPECT_EQ(sim.QueuedBuffers(), 21u);  // all playing at once
    Run(600);
    EXPECT_EQ(Players(), 0);
    EXPECT_EQ(sim.OpenCount(), 0u);
    EXPECT_TRUE(platform.Errors().empty());
  });
}

// The effects volume reaches each sound's device; full plays untouched, none
// plays nothing.
TEST_F(SoundEffects, TheEffectsVolumeReachesEverySound) {
  InFolder(folder_, [this] {
    MakeWaveFolder(1000);
    auto volumeOfNextSound = [this](int percent) -> int64_t {
      SetEffectsVolume(percent);
      const uint64_t before = sim.WriteCount();
      PlaySoundFile("wave\\letter.wav");
      Pump();
      Pump();
      if (sim.WriteCount() == before) return -1;  // nothing played
      uint32_t word = 0;
      return sim.VolumeSet(sim.Writes().back().Handle, word) ? int64_t{word} : -2;  // -2: never set
    };
    EXPECT_EQ(volumeOfNextSound(40), 0x66666666);
    EXPECT_EQ(volumeOfNextSound(99), 0xFD70FD70);
    EXPECT_EQ(volumeOfNextSound(150), -2);
    EXPECT_EQ(EffectsVolume(), 100);
    EXPECT_EQ(volumeOfNextSound(0), -1);
    EXPECT_EQ(volumeOfNextSound(-5), -1);
    EXPECT_EQ(EffectsVolume(), 0);
    SetEffectsVolume(100);
  });
}

TEST_F(SoundEffects, MissingOrBadFilesNoDeviceOrNoApplicationAreSilentAndLeaveNoPlayer) {
  InFolder(folder_, [this] {
    for (const char* name : SoundNames) PlaySoundFile(std::string("wave\\") + name + ".wav");
    EXPECT_EQ(Players(), 0);
    // Not a wave file, a folder where a file should be, a file cut short.
    std::filesystem::create_directories("wave/letter.wav");
    std::ofstream("wave/brick.wav") << "not a wave file";
    TBytes cut = WaveFile(1000);
    cut.resize(60);
    std::ofstream("wave/bomb.wav", std::ios::binary).write(reinterpret_cast<const char*>(cut.data()), 60);
    for (const char* name : {"letter", "brick", "bomb"}) PlaySoundFile(std::string("wave\\") + name + ".wav");
    EXPECT_EQ(Players(), 0);
    EXPECT_EQ(sim.OpenCount(), 0u);
    MakeWaveFolder(1000);
    sim.SetDeviceCount(0);
    PlaySoundFile("wave\\castle.wav");
    EXPECT_EQ(Players(), 0);
    sim.SetDeviceCount(1);
    sim.FailCall(TWaveCall::Open, MMSYSERR_ALLOCATED);
    PlaySoundFile("wave\\castle.wav");
    EXPECT_EQ(Players(), 0);
    sim.ClearFailures();
    TApplication* saved = Application;
    Application = nullptr;
    PlaySoundFile("wave\\castle.wav");
    Application = saved;
    EXPECT_EQ(Players(), 0);
    Run(100);
    EXPECT_TRUE(platform.Errors().empty());
  });
}

// The files the build synthesizes, in the build folder where tests run.
TEST(SoundFiles, TwelveShortDistinctSixteenBitSounds) {
  std::vector<TBytes> seen;
  for (const char* name : SoundNames) {
    SCOPED_TRACE(name);
    std::ifstream in(std::string("wave/") + name + ".wav", std::ios::binary);
    ASSERT_TRUE(in) << "the build writes wave/" << name << ".wav";
    TBytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TMemoryStream stream(bytes);
    TRiffReader reader(stream);
    TBytes format;
    uint32_t size = 0, offset = 0;
    ASSERT_TRUE(ReadWaveHeader(reader, format, size, offset));
    const TWaveFormatEx f = WaveFormatFromBlock(format);
    EXPECT_EQ(f.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(f.wBitsPerSample, 16);
    ASSERT_GT(f.nAvgBytesPerSec, 0u);
    EXPECT_LT(size * 1000.0 / f.nAvgBytesPerSec, 1500.0);
    // A miss comes with every wrong key: a click, never a tune.
    if (std::string_view(name) == "miss") {
      EXPECT_LE(size * 1000.0 / f.nAvgBytesPerSec, 150.0);
    }
    int peak = 0;
    for (uint32_t i = offset; i + 1 < offset + size; i += 2)
      peak = std::max(peak, std::abs(static_cast<int16_t>(bytes[i] | bytes[i + 1] << 8)));
    EXPECT_GT(peak, 1000) << "audible";
    if (std::string(name) == "letter") {
      // Twenty at once (a bomb over twenty words) stay within a soft overload.
      EXPECT_LE(20 * peak, 2 * 32767);
    }
    TBytes data(bytes.begin() + offset, bytes.begin() + offset + size);
    for (const TBytes& other : seen) EXPECT_NE(data, other);
    seen.push_back(data);
  }
}
