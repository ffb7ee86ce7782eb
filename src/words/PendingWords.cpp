// TEMPORARY stand-ins until the word sprites, word lists and explosions land.
// Delete this file when merging that work.
#include "words/WordUnit.h"

void TWordList::UpdateAll() { TSpriteList::UpdateAll(); }
void TWordList::KeyPressed(uint16_t) {}
bool TWordList::RowBusy(int32_t) const { return false; }
void TWordList::KillAll() {}
TExplodeItem::TExplodeItem(TPoint origin, TSize, int32_t, const std::vector<TColor>&) : TSprite(origin) {}
void TExplodeItem::Step() {}
void TExplodeItem::Draw() {}
