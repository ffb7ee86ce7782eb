#include "platform/Platform.h"

#include "platform/WaveDevice.h"

TPlatform::~TPlatform() = default;

void TPlatform::ProcessMessages() {
  WaveOut().Poll();
  PumpEvents();
  messages_.DispatchAll();
}

void TPlatform::CloseWindow() {
  if (sink_)
    sink_->Close();
  else
    HideWindow();
}
