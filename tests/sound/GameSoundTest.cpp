// Sound effects in a running game on the headless platform. Every sound goes
// through PlaySoundFile, whose missing or bad files SoundEffectsTest covers.
#include <gtest/gtest.h>

#include "platform/headless/SimWaveDevice.h"
#include "sound/WavePlayers.h"
#include "support/GameFixture.h"

namespace {

class GameSound : public GameFixture {
 protected:
  void SetUp() override {
    GameFixture::SetUp();
    platform->QuietErrors = true;
  }
  TSimWaveOutDevice& Sim() { return dynamic_cast<TSimWaveOutDevice&>(platform->WaveOut()); }
  int Players() {
    int n = 0;
    for (int i = 0; i < application->ComponentCount(); ++i)
      if (dynamic_cast<TStockAudioPlayer*>(application->Components(i))) ++n;
    return n;
  }
  // A bomb, a few blows to the castle and its fall, all in one frame.
  void Mayhem() {
    StartGame();
    form->Bombs = 1;
    form->DetonateBomb();
    for (int r = CastleRows - 3; r < CastleRows; ++r) form->HitBrick(TPoint{0, r});
    form->ExplodeCastle();
  }
};

}  // namespace

TEST_F(GameSound, EventsPlayTogetherAndEveryPlayerGoes) {
  Mayhem();
  const int started = Players();
  EXPECT_GE(started, 5);
  EXPECT_EQ(Sim().OpenCount(), static_cast<size_t>(started));
  PlayFor(100);
  EXPECT_GE(Sim().Writes().size(), static_cast<size_t>(started));
  PlayFor(3000);
  EXPECT_EQ(Players(), 0);
  EXPECT_EQ(Sim().OpenCount(), 0u);
  EXPECT_TRUE(platform->Errors().empty());
}
