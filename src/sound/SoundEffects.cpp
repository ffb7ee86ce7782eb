#include "sound/SoundEffects.h"

#include "platform/Application.h"
#include "sound/WavePlayers.h"

void PlaySoundFile(const std::string& path) {
  if (!Application) return;
  try {
    // Owned by the application, so whatever is still playing at exit goes
    // with it; otherwise the player frees itself when the sound has ended.
    auto* player = new TStockAudioPlayer(Application);
    player->SetFreeWhenDone(true);
    // A player that never started gets no notification that could end it:
    // release it now instead of keeping it until the program ends.
    if (!player->PlayFile(path)) delete player;
  } catch (...) {
    // A sound that cannot play is silent.
  }
}
