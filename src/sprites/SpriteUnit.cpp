#include "sprites/SpriteUnit.h"

#include "shell/GlyphfallUnit.h"

TSprite::TSprite(TPoint position) : Position(position) {}

void TSprite::Update() {
  if (GlyphfallForm->TickEvery(StepStamp, static_cast<uint32_t>(StepInterval))) Step();
}

bool TSpriteList::UpdateItem(int index) {
  TSprite* s = Items(index);
  s->Update();
  if (!s->IsDead()) return true;
  s->OnRemove();
  // OnRemove may have changed the list; remove this sprite wherever it is now.
  Remove(s);
  return false;
}

void TSpriteList::UpdateAll() {
  int i = 0;
  while (i < Count()) {
    if (UpdateItem(i)) ++i;
  }
}

void TSpriteList::DrawAll() {
  const int n = Count();
  for (int i = 0; i < n && i < Count(); ++i) Items(i)->Draw();
}

void TSpriteList::RemoveAll() {
  while (Count() > 0) Delete(0);
}
