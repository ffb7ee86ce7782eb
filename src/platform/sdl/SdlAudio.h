// The SDL wave-output device: one SDL audio device (44100 Hz stereo, opened
// on first use) mixing every open handle as a voice in SDL's audio callback.
// Written buffers are converted to the device format with SDL's audio
// conversion on the game thread; the audio thread only touches the mixer's
// own locked state, and finished buffers are handed back by Poll. When SDL
// audio cannot be opened there are no devices and every open fails.
#pragma once
#include <memory>

#include "platform/Messages.h"
#include "platform/WaveDevice.h"

// Destroy it before SDL_Quit.
std::unique_ptr<TWaveOutDevice> CreateSdlWaveOutDevice(TMessageQueue& queue);
