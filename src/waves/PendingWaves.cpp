// TEMPORARY stand-ins until the wave engine lands. Delete this file when
// merging that work.
#include "waves/WaveUnit.h"

TWave::~TWave() = default;
void TWave::NextStage() {}
void TWave::Update() {}
bool TWave::IsComplete() const { return false; }
void TWave::UpdateBonuses() {}
std::unique_ptr<TWave> CreateWave(int) { return nullptr; }
