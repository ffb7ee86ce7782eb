#include "sound/WavePlayers.h"

#include <algorithm>
#include <exception>
#include <thread>

std::string NativePath(const std::string& path) {
  std::string native = path;
  std::replace(native.begin(), native.end(), '\\', '/');
  return native;
}

TStockAudioPlayer::TStockAudioPlayer(TComponent* owner) : TWaveAudioOut(owner) {}

TStockAudioPlayer::TStockAudioPlayer(TComponent* owner, TWaveOutDevice& device, TMessageQueue& queue)
    : TWaveAudioOut(owner, device, queue) {}

TStockAudioPlayer::~TStockAudioPlayer() {
  BeginDestroy();
  // Stop while still a whole player, so the close notification releases the
  // stream here; a player that ended itself (FreeWhenDone) before that
  // notification arrived releases it below.
  try {
    Deactivate();
  } catch (...) {
  }
  try {
    CloseStream();
  } catch (...) {
  }
}

bool TStockAudioPlayer::PlayFile(const std::string& path) {
  try {
    auto stream = std::make_unique<TFileStream>(NativePath(path));
    return PlayStream(stream.release(), true);
  } catch (...) {
    return false;
  }
}

bool TStockAudioPlayer::PlayStream(TStream* stream, bool ownsStream) {
  // Ours until the player holds it, so no early exit leaks it.
  std::unique_ptr<TStream> guard(ownsStream ? stream : nullptr);
  // Handed the stream it already plays: it must survive the stop below.
  if (stream && stream == stream_) ownsStream_ = false;
  if (IsActive()) {
    Deactivate();
    std::this_thread::yield();
  }
  CloseStream();  // whatever an earlier playback left behind
  if (!stream) return false;
  stream_ = stream;
  ownsStream_ = ownsStream;
  guard.release();
  try {
    reader_ = std::make_unique<TRiffReader>(*stream_);
    if (!Open()) {
      CloseStream();
      return false;
    }
  } catch (...) {
    CloseStream();
    throw;
  }
  return true;
}

void TStockAudioPlayer::CloseStream() {
  reader_.reset();
  TStream* stream = stream_;
  const bool owned = ownsStream_;
  stream_ = nullptr;
  ownsStream_ = false;
  dataRemaining_ = 0;
  if (owned) delete stream;
}

void TStockAudioPlayer::SetStock(TCustomWaveStorage* stock) {
  if (stock == stock_) return;
  if (stock_) {
    stock_->RemoveFreeNotification(this);
    RemoveFreeNotification(stock_);
  }
  stock_ = stock;
  if (stock_) FreeNotification(stock_);
}

void TStockAudioPlayer::Notification(TComponent* component, TOperation operation) {
  TWaveAudioOut::Notification(component, operation);
  if (operation == TOperation::Remove && component == stock_) stock_ = nullptr;
}

void TStockAudioPlayer::HandleOutClose() {
  std::exception_ptr error;
  try {
    CloseStream();
  } catch (...) {
    error = std::current_exception();
  }
  TWaveAudioOut::HandleOutClose();
  if (error) std::rethrow_exception(error);
}

void TStockAudioPlayer::DoError() {
  std::exception_ptr error;
  if (!IsActive()) {
    try {
      CloseStream();
    } catch (...) {
      error = std::current_exception();
    }
  }
  TWaveAudioOut::DoError();
  if (error) std::rethrow_exception(error);
}

bool TStockAudioPlayer::GetWaveFormat(std::vector<uint8_t>& format) {
  if (!reader_) return false;
  uint32_t size = 0;
  uint32_t offset = 0;
  if (!ReadWaveHeader(*reader_, format, size, offset)) return false;
  dataRemaining_ = size;
  dataOffset_ = offset;
  reader_->Seek(offset, TSeekOrigin::Beginning);
  return true;
}

uint32_t TStockAudioPlayer::GetWaveData(uint8_t* buffer, uint32_t count, uint32_t&) {
  if (!reader_ || dataRemaining_ == 0) return 0;
  const uint32_t want = std::min(count, dataRemaining_);
  const int64_t got = reader_->Read(buffer, want);
  if (got <= 0) {
    dataRemaining_ = 0;  // the stream gave out early: end here
    return 0;
  }
  dataRemaining_ -= want;
  return static_cast<uint32_t>(got);
}
