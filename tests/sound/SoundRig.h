// Sound tests: the headless platform with its simulated wave device, the
// application object, and RIFF WAVE images built byte by byte.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/headless/SimWaveDevice.h"
#include "sound/WaveUtils.h"

using TBytes = std::vector<uint8_t>;

inline void Append(TBytes& to, const TBytes& more) { to.insert(to.end(), more.begin(), more.end()); }
inline void Append32(TBytes& to, uint32_t v) {
  for (int i = 0; i < 4; ++i) to.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Append16(TBytes& to, uint16_t v) {
  to.push_back(static_cast<uint8_t>(v));
  to.push_back(static_cast<uint8_t>(v >> 8));
}

// A chunk with the size it declares (by default its real size), padded.
inline TBytes Chunk(const char* id, const TBytes& data, int64_t declared = -1) {
  TBytes c(id, id + 4);
  Append32(c, declared < 0 ? static_cast<uint32_t>(data.size()) : static_cast<uint32_t>(declared));
  Append(c, data);
  if (data.size() & 1) c.push_back(0);
  return c;
}

inline TBytes FmtData(uint32_t rate, uint16_t channels, uint16_t bits) {
  TBytes f;
  const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
  Append16(f, 1);
  Append16(f, channels);
  Append32(f, rate);
  Append32(f, rate * align);
  Append16(f, align);
  Append16(f, bits);
  return f;
}

inline TBytes Riff(const std::vector<TBytes>& chunks, int64_t declared = -1) {
  TBytes body = {'W', 'A', 'V', 'E'};
  for (const TBytes& c : chunks) Append(body, c);
  return Chunk("RIFF", body, declared);
}

// Recognisable sample bytes: 16-bit ramps, never all zero.
inline TBytes Samples(size_t bytes, uint8_t seed = 1) {
  TBytes s(bytes);
  for (size_t i = 0; i < bytes; ++i) s[i] = static_cast<uint8_t>(seed + i * 7);
  return s;
}

// A plain 16-bit PCM file of the given data length.
inline TBytes WaveFile(size_t dataBytes, uint32_t rate = 22050, uint16_t channels = 1, uint16_t bits = 16) {
  return Riff({Chunk("fmt ", FmtData(rate, channels, bits)), Chunk("data", Samples(dataBytes))});
}

// A stream that reports its destruction, to see who releases it.
class TTrackedStream : public TMemoryStream {
 public:
  TTrackedStream(TBytes data, bool& destroyed) : TMemoryStream(std::move(data)), destroyed_(destroyed) {
    destroyed_ = false;
  }
  ~TTrackedStream() override { destroyed_ = true; }

 private:
  bool& destroyed_;
};

class SoundRig : public ::testing::Test {
 protected:
  SoundRig() : application(platform), sim(dynamic_cast<TSimWaveOutDevice&>(platform.WaveOut())) {
    platform.QuietErrors = true;
  }

  // One frame's message delivery.
  void Pump() { platform.ProcessMessages(); }
  // Frames of 10 ms until ms have passed.
  void Run(uint32_t ms) {
    for (uint32_t t = 0; t < ms; t += 10) {
      platform.Advance(10);
      Pump();
    }
  }
  int Players() { return application.ComponentCount(); }

  THeadlessPlatform platform;
  TApplication application;
  TSimWaveOutDevice& sim;
};
