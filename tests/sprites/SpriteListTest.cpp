#include "sprites/SpriteUnit.h"
#include "sprites/StageFixture.h"

namespace {
using Log = std::vector<std::string>;

// Logs its passes; dies after dieAfter steps, or adds a child to spawnInto
// at its first.
class Probe : public TSprite {
 public:
  Probe(Log& log, std::string name, int dieAfter = -1, TSpriteList* spawnInto = nullptr)
      : TSprite({0, 0}), log_(log), name_(std::move(name)), dieAfter_(dieAfter), spawnInto_(spawnInto) {
    StepInterval = 0;
  }
  void Step() override {
    log_.push_back("step " + name_);
    if (++steps == 1 && spawnInto_) spawnInto_->AddObject(new Probe(log_, "child"));
  }
  void Draw(const TStage&) override { log_.push_back("draw " + name_); }
  void OnRemove() override { log_.push_back("remove " + name_); }
  bool IsDead() override { return dieAfter_ >= 0 && steps >= dieAfter_; }
  int steps = 0;

 private:
  Log& log_;
  std::string name_;
  int dieAfter_;
  TSpriteList* spawnInto_;
};
}  // namespace

class SpriteLists : public StageFixture {
 protected:
  Log log;
  TSpriteList list;
};

TEST_F(SpriteLists, RemovalDuringThePassStillUpdatesTheNextSprite) {
  list.AddObject(new Probe(log, "a", 1));
  list.AddObject(new Probe(log, "b"));
  list.UpdateAll(stage);
  EXPECT_EQ(log, (std::vector<std::string>{"step a", "remove a", "step b"}));
  EXPECT_EQ(list.Count(), 1);
  list.DrawAll(stage);
  EXPECT_EQ(log.back(), "draw b");  // a died before it was ever drawn
}

TEST_F(SpriteLists, SpriteAddedDuringThePassIsUpdatedInTheSamePass) {
  list.AddObject(new Probe(log, "spawner", -1, &list));
  list.UpdateAll(stage);
  EXPECT_EQ(log, (std::vector<std::string>{"step spawner", "step child"}));
}

TEST_F(SpriteLists, RemoveAllCallsNoOnRemove) {
  list.AddObject(new Probe(log, "a"));
  list.AddObject(new Probe(log, "b"));
  list.RemoveAll();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_TRUE(log.empty());
  list.UpdateAll(stage);
  list.DrawAll(stage);
  EXPECT_TRUE(log.empty());
}

TEST_F(SpriteLists, StepIntervalFollowsTheGameClock) {
  auto* p = new Probe(log, "p");
  p->StepInterval = 25;
  list.AddObject(p);
  list.UpdateAll(stage);  // a new sprite steps at once
  EXPECT_EQ(p->steps, 1);
  clock.GameTime += 24;
  list.UpdateAll(stage);
  EXPECT_EQ(p->steps, 1);
  clock.GameTime += 1;
  list.UpdateAll(stage);
  EXPECT_EQ(p->steps, 2);
}

// The words' clocks at the game's pace: 100 % is the game as built, others
// scale every interval, rounded and never below a millisecond; high contrast
// lightens pure blue only.
TEST_F(SpriteLists, TheStageScalesClocksToThePaceAndLightensBlueInHighContrast) {
  EXPECT_EQ(stage.Paced(90), 90u);
  stage.SpeedPercent = 75;
  EXPECT_EQ(stage.Paced(90), 120u);
  stage.SpeedPercent = 125;
  EXPECT_EQ(stage.Paced(70), 56u);
  EXPECT_EQ(stage.Paced(1), 1u);
  EXPECT_EQ(stage.ShownColour(clBlue), clBlue);
  stage.HighContrast = true;
  EXPECT_NE(stage.ShownColour(clBlue), clBlue);
  EXPECT_EQ(stage.ShownColour(clRed), clRed);
}
