// Fire-and-forget sound effects.
#pragma once
#include <string>

// Plays a RIFF WAVE file given by its path relative to the program's folder,
// with "\" as the separator ("wave\letter.wav"). Never raises, never waits.
void PlaySoundFile(const std::string& path);

// The loudness of every effect, 0 to 100 percent (100 plays them as made,
// 0 plays none). Muting with F8 is the device's and works on top of it.
void SetEffectsVolume(int percent);
int EffectsVolume();
