#include "sound/SoundEffects.h"

#include "platform/Application.h"
#include "sound/WavePlayers.h"

namespace {
constexpr int FullVolume = 100;
int gEffectsVolume = FullVolume;
}  // namespace

void SetEffectsVolume(int percent) { gEffectsVolume = percent < 0 ? 0 : percent > FullVolume ? FullVolume : percent; }
int EffectsVolume() { return gEffectsVolume; }

void PlaySoundFile(const std::string& path) {
  if (!Application || gEffectsVolume == 0) return;
  try {
    // Owned by the application, so whatever is still playing at exit goes
    // with it; otherwise the player frees itself when the sound has ended.
    auto* player = new TStockAudioPlayer(Application);
    player->SetFreeWhenDone(true);
    if (gEffectsVolume < FullVolume) {
      player->SetOptions(woSetVolume);
      player->SetVolume(static_cast<uint16_t>(gEffectsVolume));
    }
    // A player that never started gets no notification that could end it:
    // release it now instead of keeping it until the program ends.
    if (!player->PlayFile(path)) delete player;
  } catch (...) {
    // A sound that cannot play is silent.
  }
}
