// Sprites: the base of everything that moves or fades, the owning sprite
// lists with their update and draw passes, floating score texts and zooming
// icons. Whoever runs the passes hands in the stage: the clock the sprites
// step by and the image they draw on.
#pragma once
#include <cstdint>
#include <string>

#include "framework/ObjectList.h"
#include "framework/Stage.h"
#include "platform/Types.h"

class TBitmap;
class TCanvas;

class TSprite {
 public:
  explicit TSprite(TPoint position);
  virtual ~TSprite() = default;

  TPoint Position;
  uint32_t StepStamp = 0;
  int32_t StepInterval = 25;

  // Once per frame from the update pass: steps when StepInterval has passed.
  virtual void Update(const TStage& stage);
  virtual void Step() {}
  virtual void Draw(const TStage&) {}
  // Called by the list just before it destroys a sprite that reported dead.
  virtual void OnRemove() {}
  virtual bool IsDead() { return false; }
};

class TSpriteList : public TCustomObjectList<TSprite> {
 public:
  // Updates one sprite and removes it when dead; false when it was removed.
  bool UpdateItem(const TStage& stage, int index);
  virtual void UpdateAll(const TStage& stage);
  virtual void DrawAll(const TStage& stage);
  // Destroys every sprite without OnRemove.
  void RemoveAll();
};

// Each channel of colour moves towards target's by step, never past it.
TColor FadeColour(TColor colour, TColor target, int step);
// Each channel divided by divisor, rounded to nearest, ties to even.
TColor DimColour(TColor colour, int divisor);

// A text that rises one pixel every 25 ms and fades out over 85 drawings.
class TScoreItem : public TSprite {
 public:
  // Measured on canvas, in the face the canvas has.
  TScoreItem(TCanvas& canvas, TPoint position, const std::string& text, TBitmap* picture);
  int32_t Fade = 0;
  std::string Text;
  TBitmap* Picture = nullptr;  // not owned

  void Step() override;
  void Draw(const TStage& stage) override;
  bool IsDead() override;
};

// A picture that grows by one pixel a side per step for half its frames and
// shrinks back.
class TZoomItem : public TSprite {
 public:
  TZoomItem(TPoint position, TBitmap* picture);
  TBitmap* Picture = nullptr;  // not owned
  int32_t Counter = 0;
  int32_t Frames = 16;

  void Step() override;
  void Draw(const TStage& stage) override;
  bool IsDead() override;
};

class TScoreList : public TSpriteList {};
class TZoomList : public TSpriteList {};
