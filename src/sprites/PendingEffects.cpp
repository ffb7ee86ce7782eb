// TEMPORARY stand-ins until the effects and star field land. Delete this file
// when merging that work.
#include "sprites/SpriteUnit.h"
#include "sprites/StarUnit.h"

TColor FadeColour(TColor c, TColor, int) { return c; }
TColor DimColour(TColor c, int) { return c; }
TScoreItem::TScoreItem(TPoint p, const std::string& t, TBitmap* pic) : TSprite(p), Text(t), Picture(pic) {}
void TScoreItem::Step() {}
void TScoreItem::Draw() {}
bool TScoreItem::IsDead() { return true; }
TZoomItem::TZoomItem(TPoint p, TBitmap* pic) : TSprite(p), Picture(pic) {}
void TZoomItem::Step() {}
void TZoomItem::Draw() {}
bool TZoomItem::IsDead() { return true; }
TStar::TStar() : TSprite(TPoint{0, 0}) {}
void TStar::Step() {}
void TStar::Draw() {}
bool TStar::IsDead() { return false; }
void TStarField::UpdateAll() { TSpriteList::UpdateAll(); }
