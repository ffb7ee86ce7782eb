// Fire-and-forget sound effects.
#pragma once
#include <string>

// Plays a RIFF WAVE file given by its path relative to the program's folder,
// with "\" as the separator ("wave\letter.wav"). Never raises, never waits.
void PlaySoundFile(const std::string& path);
