#include "sound/SoundEffects.h"

void PlaySoundFile(const std::string&) {}
