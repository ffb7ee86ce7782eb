// The SDL wave device over SDL's "disk" audio driver, which writes the mixed
// output to a file in real time, and with a driver that does not exist.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "platform/Messages.h"
#include "platform/sdl/SdlAudio.h"
#include "sound/SoundRig.h"
#include "sound/WavePlayers.h"

namespace {

// A tone at quarter scale, faded in and out, 22050 Hz mono 16-bit.
TBytes Tone(double seconds, double hz = 3000) {
  TBytes data;
  const int n = static_cast<int>(seconds * 22050);
  const int fade = 441;
  for (int i = 0; i < n; ++i) {
    const double env = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(n - 1 - i) / fade});
    Append16(data, static_cast<uint16_t>(static_cast<int16_t>(8192 * env * std::sin(i * 2 * M_PI * hz / 22050))));
  }
  data.resize(data.size() + 200, 0);  // ends in silence, as the game's sounds do
  return Riff({Chunk("fmt ", FmtData(22050, 1, 16)), Chunk("data", data)});
}

class SdlAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    output_ = std::filesystem::temp_directory_path() / ("glyphfall-disk-audio-" + std::to_string(::getpid()));
    ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
  }
  void TearDown() override {
    ::unsetenv("SDL_AUDIODRIVER");
    ::unsetenv("SDL_DISKAUDIOFILE");
    std::filesystem::remove(output_);
  }
  // Plays the files at once on a fresh disk device, pumping as the game does
  // until every player is done, and returns what the driver wrote (16-bit
  // stereo). The deadline only keeps a broken device from hanging the suite:
  // the disk driver plays in real time, and a sanitizer build may be slow.
  TBytes PlayThrough(const std::vector<TBytes>& files, bool muted = false, int64_t volume = -1) {
    TMessageQueue queue;
    auto device = CreateSdlWaveOutDevice(queue);
    EXPECT_EQ(device->GetNumDevs(), 1u) << "SDL's disk audio driver is needed for this test";
    device->SetMuted(muted);
    std::vector<std::unique_ptr<TStockAudioPlayer>> players;
    for (const TBytes& file : files) {
      players.push_back(std::make_unique<TStockAudioPlayer>(nullptr, *device, queue));
      EXPECT_TRUE(players.back()->PlayStream(new TMemoryStream(file), true));
      if (volume >= 0) {  // before any buffer is queued
        EXPECT_EQ(device->SetVolume(players.back()->Handle(), static_cast<uint32_t>(volume)), MMSYSERR_NOERROR);
      }
    }
    auto anyActive = [&] {
      for (auto& p : players)
        if (p->Active()) return true;
      return false;
    };
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (anyActive() && std::chrono::steady_clock::now() < until) {
      device->Poll();
      queue.DispatchAll();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(anyActive()) << "every buffer came back and the device closed";
    players.clear();
    device.reset();  // closes the SDL device and its file
    std::ifstream in(output_, std::ios::binary);
    return TBytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  static int Sample(const TBytes& raw, size_t i) { return static_cast<int16_t>(raw[i] | raw[i + 1] << 8); }

  std::filesystem::path output_;
};

}  // namespace

TEST_F(SdlAudio, DiskDriverReceivesTheMixedSound) {
  const double tones[] = {3000, 1900};
  const TBytes raw = PlayThrough({Tone(1.3, tones[0]), Tone(1.3, tones[1])});
  std::vector<int> left;
  for (size_t i = 0; i + 3 < raw.size(); i += 4) left.push_back(Sample(raw, i));
  // A sine of frequency w obeys x[n+1] + x[n-1] = 2 cos(w) x[n]; applying
  // that test for each tone in turn leaves next to nothing of a clean mix,
  // and a click anywhere (the join of the one-second buffers included)
  // stands out.
  std::vector<double> residue(left.begin(), left.end());
  for (double hz : tones) {
    const double twoCos = 2 * std::cos(2 * M_PI * hz / 44100);
    std::vector<double> next(residue.size(), 0.0);
    for (size_t i = 1; i + 1 < residue.size(); ++i) next[i] = residue[i + 1] + residue[i - 1] - twoCos * residue[i];
    residue = next;
  }
  int peak = 0;
  double glitch = 0;
  for (size_t i = 0; i < left.size(); ++i) {
    peak = std::max(peak, std::abs(left[i]));
    glitch = std::max(glitch, std::fabs(residue[i]));
  }
  // Two quarter-scale tones: louder together than either alone.
  EXPECT_GT(peak, 12000);
  EXPECT_LT(glitch, 600);
}

TEST_F(SdlAudio, MutedSoundsPlayOnInSilence) {
  const TBytes raw = PlayThrough({Tone(0.2)}, true);
  EXPECT_FALSE(raw.empty());
  EXPECT_EQ(std::count(raw.begin(), raw.end(), 0), static_cast<ptrdiff_t>(raw.size()));
}

// The volume word holds the left gain in its low half and the right in its high half.
TEST_F(SdlAudio, EachChannelPlaysAtItsOwnVolume) {
  auto peaks = [&](uint32_t volume) {
    const TBytes raw = PlayThrough({Tone(0.2)}, false, volume);
    std::pair<int, int> peak{0, 0};
    for (size_t i = 0; i + 3 < raw.size(); i += 4) {
      peak.first = std::max(peak.first, std::abs(Sample(raw, i)));
      peak.second = std::max(peak.second, std::abs(Sample(raw, i + 2)));
    }
    return peak;
  };
  const auto full = peaks(0xFFFFFFFF);
  EXPECT_NEAR(full.first, 8192, 400);
  EXPECT_NEAR(full.second, 8192, 400);
  const auto half = peaks(0x80008000);
  EXPECT_NEAR(half.first, full.first / 2, 100);
  EXPECT_NEAR(half.second, full.second / 2, 100);
  const auto rightOnly = peaks(0x80000000);
  EXPECT_EQ(rightOnly.first, 0);
  EXPECT_NEAR(rightOnly.second, full.second / 2, 100);
  EXPECT_EQ(peaks(0), std::make_pair(0, 0));
}

TEST_F(SdlAudio, WithoutAnAudioDriverEveryOpenFailsCleanly) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  TMessageQueue queue;
  auto device = CreateSdlWaveOutDevice(queue);
  EXPECT_EQ(device->GetNumDevs(), 0u);
  TStockAudioPlayer player(nullptr, *device, queue);
  EXPECT_THROW(player.PlayStream(new TMemoryStream(Tone(0.1)), true), EWaveAudioSysError);
  EXPECT_FALSE(player.Active());
  EXPECT_FALSE(player.HasStream());
  TWaveFormatEx format;
  SetPCMAudioFormat(format, 20);
  EXPECT_FALSE(player.IsFormatSupported(format));
}
