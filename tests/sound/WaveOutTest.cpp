// The output engine and the file player on the simulated device.
#include <gtest/gtest.h>

#include "sound/SoundRig.h"
#include "sound/WavePlayers.h"

namespace {

// 22050 Hz mono 16-bit: 44100 bytes a second, the default buffer size.
constexpr uint32_t Second = 44100;

class Engine : public SoundRig {
 protected:
  TStockAudioPlayer* NewPlayer() { return new TStockAudioPlayer(&application); }
  TStockAudioPlayer* Play(const TBytes& file, bool* destroyed = nullptr) {
    TStockAudioPlayer* p = NewPlayer();
    static bool ignored;
    EXPECT_TRUE(p->PlayStream(new TTrackedStream(file, destroyed ? *destroyed : ignored), true));
    return p;
  }
  size_t WrittenBytes() {
    size_t n = 0;
    for (auto& w : sim.Writes()) n += w.Data.size();
    return n;
  }
};

}  // namespace

TEST_F(Engine, SourceShorterThanOneBufferPlaysInOneAsMessagesArriveAndTheComponentEndsItself) {
  bool streamGone = false;
  TStockAudioPlayer* p = Play(WaveFile(Second / 2), &streamGone);
  p->SetFreeWhenDone(true);
  ASSERT_TRUE(p->Active());
  EXPECT_EQ(sim.OpenCount(), 1u);
  platform.Advance(5000);  // notifications wait for the message pump
  EXPECT_GT(platform.Messages().PendingFor(p->NotifyHandle()), 0u);
  Pump();  // the open notification queues two empty notifications
  EXPECT_EQ(sim.Writes().size(), 0u);
  Pump();  // the first carries everything, the second finds nothing
  ASSERT_EQ(sim.Writes().size(), 1u);
  EXPECT_EQ(sim.Writes()[0].Data, Samples(Second / 2));
  EXPECT_TRUE(p->Closing());
  EXPECT_EQ(p->HeaderCount(), 1u);
  // Half a second later the device hands the buffer back; it is heard of at
  // the next message delivery.
  Run(490);
  EXPECT_EQ(Players(), 1);
  platform.Advance(5000);
  EXPECT_EQ(Players(), 1);
  Pump();
  EXPECT_EQ(Players(), 0);
  EXPECT_TRUE(streamGone);
  EXPECT_EQ(sim.OpenCount(), 0u);
  EXPECT_EQ(sim.Writes().size(), 1u);
  EXPECT_TRUE(platform.Errors().empty());
}

TEST_F(Engine, WithoutFreeWhenDoneTheCloseNotificationDeactivates) {
  bool streamGone = false;
  TStockAudioPlayer* p = Play(WaveFile(3 * Second + 100), &streamGone);
  int deactivated = 0;
  p->OnDeactivate = [&](TWaveAudioIO*) { ++deactivated; };
  Run(5000);
  EXPECT_EQ(WrittenBytes(), 3 * Second + 100);
  EXPECT_EQ(sim.Writes().size(), 4u);
  EXPECT_FALSE(p->Active());
  EXPECT_FALSE(p->Closing());
  EXPECT_EQ(p->HeaderCount(), 0u);
  EXPECT_TRUE(streamGone);
  EXPECT_EQ(deactivated, 1);
  EXPECT_EQ(Players(), 1);
  delete p;
}

TEST_F(Engine, MisuseRaisesTheTwoTexts) {
  TStockAudioPlayer* p = NewPlayer();
  auto raised = [](auto call) -> std::string {
    try {
      call();
    } catch (const EWaveAudioInvalidOperation& e) {
      return e.what();
    }
    return "nothing raised";
  };
  EXPECT_EQ(raised([&] { p->Close(); }), "Device is aleardy close");
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(Second / 2)), true));
  EXPECT_EQ(raised([&] { p->Open(); }), "Device is aleardy open");
  Pump();
  Pump();
  // Playback is ending (source exhausted): Open and Close just say no.
  ASSERT_TRUE(p->Closing());
  EXPECT_FALSE(p->Open());
  EXPECT_FALSE(p->Close());
  delete p;
}

TEST_F(Engine, BufferSizes) {
  TStockAudioPlayer* p = NewPlayer();
  p->SetBufferLength(5);
  EXPECT_EQ(p->BufferLength(), 10);
  p->SetBufferLength(1000);
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(Second)), true));
  EXPECT_EQ(p->BufferBytes(), 44100u);
  delete p;
  // 11025 Hz stereo 16-bit for 10 ms is 441 bytes: rounded up to whole
  // four-byte blocks.
  p = NewPlayer();
  p->SetBufferLength(10);
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(4000, 11025, 2, 16)), true));
  EXPECT_EQ(p->BufferBytes(), 444u);
  Run(200);
  for (auto& w : sim.Writes()) EXPECT_EQ(w.Data.size() % 4, 0u);
  EXPECT_EQ(WrittenBytes(), 4000u);
  delete p;
}

TEST_F(Engine, VolumePitchAndRateReachTheDeviceOnlyWhenAskedAndAble) {
  TStockAudioPlayer* p = NewPlayer();
  p->SetOptions(woSetVolume | woSetPlaybackRate);
  p->SetVolume(50);
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(3 * Second)), true));
  Pump();
  uint32_t word = 0;
  // Both channels alike.
  ASSERT_TRUE(sim.VolumeSet(p->Handle(), word));
  EXPECT_EQ(word, 0x80008000u);
  EXPECT_EQ(p->Volume(), 50);
  p->SetPlaybackRate(1.5);
  ASSERT_TRUE(sim.RateSet(p->Handle(), word));
  EXPECT_EQ(word, 0x00018000u);
  EXPECT_DOUBLE_EQ(p->PlaybackRate(), 1.5);
  p->SetPitch(2.0);  // not in Options
  EXPECT_FALSE(sim.PitchSet(p->Handle(), word));
  delete p;

  // A device without the rate capability is left alone and reads 1.0.
  sim.SetSupport(WAVECAPS_VOLUME);
  p = NewPlayer();
  p->SetOptions(woSetPlaybackRate | woSetPitch);
  p->SetPitch(2.0);
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(Second)), true));
  Pump();
  p->SetPlaybackRate(2.0);
  EXPECT_FALSE(sim.RateSet(p->Handle(), word));
  EXPECT_EQ(sim.Calls(TWaveCall::SetPitch), 0);
  EXPECT_DOUBLE_EQ(p->PlaybackRate(), 1.0);
  delete p;
  EXPECT_DOUBLE_EQ(TWaveAudioOut::FromFixed(TWaveAudioOut::ToFixed(0.75)), 0.75);
  // Out of range: none below, the largest whole above.
  EXPECT_EQ(TWaveAudioOut::ToFixed(-2.0), 0u);
  EXPECT_EQ(TWaveAudioOut::ToFixed(1e6) >> 16, 0xFFFFu);
}

TEST_F(Engine, LevelsOfEightAndSixteenBitBuffers) {
  std::vector<int> levels;
  TBytes eight = Riff({Chunk("fmt ", FmtData(8000, 1, 8)), Chunk("data", TBytes{128, 255, 0, 200})});
  TStockAudioPlayer* p = NewPlayer();
  p->OnLevel = [&](TWaveAudioIO*, int level) { levels.push_back(level); };
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(eight), true));
  Run(100);
  // The written buffer, then 0 when the component deactivates.
  EXPECT_EQ(levels, (std::vector<int>{100, 0}));
  levels.clear();
  TBytes sixteen = Riff({Chunk("fmt ", FmtData(8000, 1, 16)), Chunk("data", TBytes{0x00, 0x40, 0x00, 0x80})});
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(sixteen), true));
  Run(100);
  EXPECT_EQ(levels, (std::vector<int>{16384 * 100 / 32767, 0}));
  delete p;
}

TEST_F(Engine, RefusedWriteLosesOnlyItsBufferAndPlaybackGoesOnToTheEnd) {
  // Reported through the error report, or to the component's own handler.
  for (bool handled : {false, true}) {
    SCOPED_TRACE(handled ? "OnError" : "error report");
    sim.FailCall(TWaveCall::Write, MMSYSERR_NOMEM, 2);  // the third write fails
    const size_t writes = sim.Writes().size();
    int handledErrors = 0;
    bool streamGone = false;
    TStockAudioPlayer* p = Play(WaveFile(3 * Second + Second / 2), &streamGone);
    if (handled) p->OnError = [&](TWaveAudioIO*) { ++handledErrors; };
    p->SetFreeWhenDone(true);
    Run(1100);
    EXPECT_EQ(p->HeaderCount(), 2u);  // the next buffer took the lost one's place at once
    Run(5000);
    EXPECT_EQ(Players(), 0);
    EXPECT_TRUE(streamGone);
    EXPECT_EQ(sim.OpenCount(), 0u);
    // The first two seconds, then the half second after the lost one.
    ASSERT_EQ(sim.Writes().size(), writes + 3);
    EXPECT_EQ(sim.Writes().back().Data.size(), Second / 2);
    EXPECT_EQ(handledErrors, handled ? 1 : 0);
    ASSERT_EQ(platform.Errors().size(), 1u);
    std::string text;
    sim.GetErrorText(MMSYSERR_NOMEM, text);
    EXPECT_NE(platform.Errors()[0].find(text), std::string::npos);
    sim.ClearFailures();
  }
}

TEST_F(Engine, OtherDeviceFailuresDuringPlaybackStillEnd) {
  // A refused option at open, a refused unprepare and a refused close: each
  // is reported, and the player still goes.
  for (TWaveCall call : {TWaveCall::SetVolume, TWaveCall::Unprepare, TWaveCall::Close, TWaveCall::Prepare}) {
    SCOPED_TRACE(static_cast<int>(call));
    sim.FailCall(call, MMSYSERR_ERROR);
    const size_t errors = platform.Errors().size();
    TStockAudioPlayer* p = NewPlayer();
    p->SetOptions(woSetVolume);
    p->SetFreeWhenDone(true);
    ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(2 * Second + 10)), true));
    Run(4000);
    EXPECT_EQ(Players(), 0);
    EXPECT_EQ(platform.Errors().size(), errors + 1);
    sim.ClearFailures();
  }
}

TEST_F(Engine, CloseWhileQueuedNeitherDestroysNorTouchesAFreedComponent) {
  bool streamGone = false;
  TStockAudioPlayer* p = Play(WaveFile(5 * Second), &streamGone);
  p->SetFreeWhenDone(true);
  Run(50);
  ASSERT_EQ(p->HeaderCount(), 2u);
  // Close hands the buffers back and waits; the last one closes the device
  // inside that wait, where the component must stay alive.
  EXPECT_TRUE(p->Close());
  EXPECT_FALSE(p->Active());
  EXPECT_EQ(p->HeaderCount(), 0u);
  EXPECT_TRUE(streamGone);
  EXPECT_EQ(sim.OpenCount(), 0u);
  EXPECT_EQ(Players(), 1);
  Run(100);  // nothing stale arrives later
  EXPECT_EQ(Players(), 1);
  delete p;
}

TEST_F(Engine, ApplicationEndingDuringSoundsReleasesEverything) {
  bool gone[5];
  for (int i = 0; i < 3; ++i) Play(WaveFile(3 * Second), &gone[i])->SetFreeWhenDone(true);
  Run(30);
  Play(WaveFile(Second / 10), &gone[3]);  // ending
  Pump();
  Pump();
  Play(WaveFile(Second), &gone[4]);  // still opening
  while (Players() > 0) delete application.Components(application.ComponentCount() - 1);
  for (bool g : gone) EXPECT_TRUE(g);
  EXPECT_EQ(sim.OpenCount(), 0u);
  EXPECT_EQ(sim.QueuedBuffers(), 0u);
  EXPECT_TRUE(platform.Errors().empty());
}

TEST_F(Engine, PlayerEndingBeforeTheCloseNotificationReleasesItsStream) {
  bool streamGone = false;
  TStockAudioPlayer* p = Play(WaveFile(100), &streamGone);
  Pump();
  Pump();
  platform.Advance(10);
  Pump();
  ASSERT_TRUE(p->Closing());  // device closed, its notification not yet handled
  EXPECT_FALSE(streamGone);
  delete p;
  EXPECT_TRUE(streamGone);
}

TEST_F(Engine, PlayStreamOnAPlayingPlayerStopsTheOldSoundFirst) {
  bool firstGone = false, secondGone = false;
  TStockAudioPlayer* p = Play(WaveFile(3 * Second), &firstGone);
  Run(30);
  const THWaveOut first = p->Handle();
  ASSERT_EQ(sim.QueuedBuffers(first), 2u);
  ASSERT_TRUE(p->PlayStream(new TTrackedStream(WaveFile(Second / 2, 11025), secondGone), true));
  EXPECT_TRUE(firstGone);
  EXPECT_EQ(sim.Calls(TWaveCall::Reset), 1);
  EXPECT_EQ(sim.QueuedBuffers(first), 0u);
  EXPECT_EQ(sim.OpenCount(), 1u);
  EXPECT_NE(p->Handle(), first);
  Run(50);
  EXPECT_EQ(sim.Writes().back().Handle, p->Handle());
  EXPECT_EQ(sim.Opened().back().nSamplesPerSec, 11025u);

  // Also while the old sound is ending on its own.
  Run(100);
  ASSERT_TRUE(p->Closing());
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(Second / 2)), true));
  EXPECT_TRUE(secondGone);
  Run(1000);
  EXPECT_FALSE(p->Active());
  delete p;
}

TEST_F(Engine, ChunksAroundTheDataAreNeverPlayed) {
  TBytes marked(64, 0xEE);
  TBytes file = Riff({Chunk("fmt ", FmtData(22050, 1, 16)), Chunk("LIST", marked), Chunk("data", Samples(1000)),
                      Chunk("junk", marked)});
  TStockAudioPlayer* p = NewPlayer();
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(file), true));
  EXPECT_EQ(p->DataRemaining(), 1000u);
  Run(200);
  ASSERT_EQ(sim.Writes().size(), 1u);
  EXPECT_EQ(sim.Writes()[0].Data, Samples(1000));
  delete p;
}

// Each failure releases the stream it was given.
TEST_F(Engine, UnplayableSourcesOrNoDeviceFailCleanly) {
  TStockAudioPlayer* p = NewPlayer();
  bool gone = false;
  // No format chunk: refused before the device is asked.
  EXPECT_THROW(p->PlayStream(new TTrackedStream(Samples(100), gone), true), EWaveAudioSysError);
  EXPECT_TRUE(gone);
  EXPECT_EQ(sim.Calls(TWaveCall::Query), 0);
  EXPECT_EQ(sim.Calls(TWaveCall::Open), 0);
  // 24-bit audio is not taken by the device.
  EXPECT_THROW(p->PlayStream(new TTrackedStream(WaveFile(300, 22050, 1, 24), gone), true), EWaveAudioSysError);
  EXPECT_TRUE(gone);
  EXPECT_EQ(sim.OpenCount(), 0u);
  // With an error handler nothing is raised and the code is kept.
  int errors = 0;
  p->OnError = [&](TWaveAudioIO*) { ++errors; };
  EXPECT_FALSE(p->PlayStream(new TMemoryStream(Samples(100)), true));
  EXPECT_EQ(errors, 1);
  EXPECT_EQ(p->LastError(), static_cast<int32_t>(WAVERR_BADFORMAT));
  EXPECT_FALSE(p->PlayFile("no such folder\\letter.wav"));
  p->OnError = nullptr;
  sim.FailCall(TWaveCall::Open, MMSYSERR_ALLOCATED);
  EXPECT_THROW(p->PlayStream(new TMemoryStream(WaveFile(300)), true), EWaveAudioSysError);
  EXPECT_FALSE(p->HasStream());
  sim.SetDeviceCount(0);
  EXPECT_EQ(p->DeviceCount(), 0u);
  EXPECT_TRUE(p->DeviceName().empty());
  EXPECT_EQ(p->DeviceFormats(), 0u);
  EXPECT_THROW(p->PlayStream(new TMemoryStream(WaveFile(300)), true), EWaveAudioSysError);
  EXPECT_FALSE(p->Active());
  delete p;
}

TEST_F(Engine, DeviceQueries) {
  TStockAudioPlayer* p = NewPlayer();
  EXPECT_EQ(p->DeviceName(), "Simulated wave output");
  sim.SetFormats(WAVE_FORMAT_1M08 | WAVE_FORMAT_4S16);
  // 8000 Hz always, then 11025 Hz mono 8-bit and 44100 Hz stereo 16-bit.
  EXPECT_EQ(p->DeviceFormats(),
            PcmFormatBit(1) | PcmFormatBit(2) | PcmFormatBit(3) | PcmFormatBit(4) | PcmFormatBit(5) | PcmFormatBit(16));
  EXPECT_TRUE(p->IsPcmFormatSupported(20));
  EXPECT_FALSE(p->IsPcmFormatSupported(0));
  EXPECT_EQ(p->CheckDevice(), MMSYSERR_NOERROR);
  p->SetDeviceNumber(3);
  EXPECT_EQ(p->CheckDevice(), MMSYSERR_BADDEVICEID);
  p->SetDeviceNumber(WAVE_MAPPER);

  // Positions in whatever unit the device answers.
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(3 * Second)), true));
  Run(520);
  for (uint32_t unit : {TIME_MS, TIME_SAMPLES, TIME_BYTES}) {
    sim.SetPositionUnit(unit);
    EXPECT_NEAR(p->Position(), 500, 10) << unit;
  }
  sim.SetPositionUnit(TIME_MIDI);
  EXPECT_EQ(p->Position(), 0u);
  delete p;
}

TEST_F(Engine, PauseBeforeOpenIsAppliedAtOpenAndHoldsThePlayback) {
  TStockAudioPlayer* p = NewPlayer();
  int paused = 0, resumed = 0;
  p->OnPause = [&](TWaveAudioIO*) { ++paused; };
  p->OnResume = [&](TWaveAudioIO*) { ++resumed; };
  EXPECT_TRUE(p->Pause());
  EXPECT_FALSE(p->Pause());
  ASSERT_TRUE(p->PlayStream(new TMemoryStream(WaveFile(Second / 2)), true));
  Run(2000);
  EXPECT_TRUE(p->IsPaused());
  EXPECT_TRUE(p->Active());  // held: nothing played
  EXPECT_TRUE(p->Resume());
  Run(600);
  EXPECT_FALSE(p->Active());
  EXPECT_EQ(paused, 1);
  EXPECT_EQ(resumed, 1);
  delete p;
}

TEST_F(Engine, LoweringBufferCountWhilePlayingStillEnds) {
  TStockAudioPlayer* p = Play(WaveFile(4 * Second));
  p->SetFreeWhenDone(true);
  p->SetBufferCount(3);
  Run(50);
  EXPECT_EQ(p->HeaderCount(), 3u);
  p->SetBufferCount(0);  // no buffer at all would never finish: one is kept
  EXPECT_EQ(p->BufferCount(), 1u);
  Run(6000);
  EXPECT_EQ(Players(), 0);
  EXPECT_EQ(WrittenBytes(), 4u * Second);
}

namespace {
class TOneWaveStore : public TCustomWaveStorage {
 public:
  using TCustomWaveStorage::TCustomWaveStorage;
  int WaveCount() const override { return 1; }
  std::unique_ptr<TStream> OpenWave(int index) override {
    return index == 0 ? std::make_unique<TMemoryStream>(WaveFile(100)) : nullptr;
  }
};
}  // namespace

TEST_F(Engine, AStockThatGoesAwayIsForgotten) {
  auto* store = new TOneWaveStore(&application);
  TStockAudioPlayer* p = NewPlayer();
  p->SetStock(store);
  ASSERT_TRUE(p->PlayStream(store->OpenWave(0).release(), true));
  delete store;
  EXPECT_EQ(p->Stock(), nullptr);
  Run(100);
  EXPECT_FALSE(p->Active());
  delete p;
}

// The device itself: it takes only formats it can play, holds a bounded
// number of voices, will not close over queued buffers, and a device with one
// volume for both channels sets both.
TEST_F(Engine, TheDeviceRefusesWhatItCannotPlayOrHold) {
  auto query = [&](uint32_t rate, uint32_t avgBytes) {
    TWaveFormatEx f;
    SetPCMAudioFormat(f, 4);  // 11025 Hz stereo 16-bit
    f.nSamplesPerSec = rate;
    f.nAvgBytesPerSec = avgBytes ? avgBytes : rate * f.nBlockAlign;
    return sim.Open(nullptr, 0, &f, 0, WAVE_FORMAT_QUERY);
  };
  EXPECT_EQ(query(4000, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(query(3999, 0), WAVERR_BADFORMAT);
  EXPECT_EQ(query(11025, 11025 * 2), WAVERR_BADFORMAT);

  TWaveFormatEx f;
  SetPCMAudioFormat(f, 4);
  std::vector<THWaveOut> voices(TVoiceWaveOutDevice::MaxVoices);
  for (THWaveOut& h : voices) ASSERT_EQ(sim.Open(&h, WAVE_MAPPER, &f, 0, 0), MMSYSERR_NOERROR);
  THWaveOut extra = 0;
  EXPECT_EQ(sim.Open(&extra, WAVE_MAPPER, &f, 0, 0), MMSYSERR_ALLOCATED);

  std::vector<uint8_t> data(4000, 1);
  TWaveHdr hdr{};
  hdr.lpData = data.data();
  hdr.dwBufferLength = static_cast<uint32_t>(data.size());
  ASSERT_EQ(sim.PrepareHeader(voices[0], &hdr), MMSYSERR_NOERROR);
  ASSERT_EQ(sim.Write(voices[0], &hdr), MMSYSERR_NOERROR);
  EXPECT_EQ(sim.Close(voices[0]), WAVERR_STILLPLAYING);
  sim.Reset(voices[0]);

  sim.SetSupport(WAVECAPS_VOLUME);
  uint32_t volume = 0;
  ASSERT_EQ(sim.SetVolume(voices[1], 0x1234), MMSYSERR_NOERROR);
  ASSERT_EQ(sim.GetVolume(voices[1], volume), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, 0x12341234u);
  for (THWaveOut h : voices) sim.Close(h);
}
