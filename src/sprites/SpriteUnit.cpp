#include "sprites/SpriteUnit.h"

TSprite::TSprite(TPoint position) : Position(position) {}

void TSprite::Update(const TStage& stage) {
  if (stage.Clock.TickEvery(StepStamp, static_cast<uint32_t>(StepInterval))) Step();
}

bool TSpriteList::UpdateItem(const TStage& stage, int index) {
  TSprite* s = Items(index);
  s->Update(stage);
  if (!s->IsDead()) return true;
  s->OnRemove();
  // OnRemove may have changed the list; remove this sprite wherever it is now.
  Remove(s);
  return false;
}

void TSpriteList::UpdateAll(const TStage& stage) {
  int i = 0;
  while (i < Count()) {
    if (UpdateItem(stage, i)) ++i;
  }
}

void TSpriteList::DrawAll(const TStage& stage) {
  const int n = Count();
  for (int i = 0; i < n && i < Count(); ++i) Items(i)->Draw(stage);
}

void TSpriteList::RemoveAll() {
  while (Count() > 0) Delete(0);
}
