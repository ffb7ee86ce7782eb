// What the game tells its observers, in the order it happens.
#include <string>
#include <vector>

#include "record/TypingRecord.h"
#include "words/WordFixture.h"

namespace {

// Writes every event as a short line.
class TEventLog : public TGameObserver {
 public:
  std::vector<std::string> Lines;

  void GameStarted(const TGameStart& e) override {
    Lines.push_back("started " + std::string(e.Rules) + " at wave " + std::to_string(e.Wave));
  }
  void KeyTyped(const TKeyTyped& e) override {
    std::string line = "key " + std::to_string(e.Key) + (e.Hit ? " hit" : " miss");
    for (const TKeyHit& h : e.Hits) line += " " + std::string(h.Word.Text) + ":" + std::to_string(h.Letters);
    Lines.push_back(line);
  }
  void WordFinished(const TWordFinished& e) override {
    static const char* const how[] = {"typed", "crashed", "burst", "missed", "through"};
    Lines.push_back(std::string(e.Word.Text) + " " + how[static_cast<int>(e.How)] + " after " +
                    std::to_string(e.TimeOnScreen));
  }
  void BrickLost(const TBrickLost& e) override {
    Lines.push_back("brick lost " + std::to_string(e.Column) + "," + std::to_string(e.Row));
  }
  void BombUsed(const TBombUsed& e) override { Lines.push_back("bomb, " + std::to_string(e.BombsLeft) + " left"); }
  void WaveStarted(const TWaveEvent& e) override { Lines.push_back("wave " + std::to_string(e.Wave)); }
  void GameOver(const TGameOver&) override { Lines.push_back("game over"); }
  void GameEnded(const TGameEnded& e) override {
    static const char* const how[] = {"lost", "quit", "closed"};
    Lines.push_back(std::string("ended ") + how[static_cast<int>(e.How)]);
  }
};

class GameEvents : public WordFixture {
 protected:
  void Press(uint16_t key) {
    form->KeyDown(key, {});
    form->KeyUp(key, {});
  }
  TEventLog log;
};

}  // namespace

TEST_F(GameEvents, KeysWordsBricksAndBombsAreToldAsTheyHappen) {
  AddWord("CAT", {300, 200});
  AddWord("COW", {500, 300});
  form->Events.Add(log);
  Advance(250);
  for (uint16_t key : {'C', 'X', 'A', 'T'}) Press(key);
  form->Bombs = 1;
  Press(vk::Space);  // bursts COW
  Press(vk::Space);  // no bomb left
  // A word that meets a brick hit twice already knocks it out.
  form->Castle[3][10].State = TBrickState::Damaged2;
  TSpriteWord* ox = AddWord("O", {3 * 16 + 10, CastleTop() + 16 * 10});
  while (!ox->Text.empty()) ox->Step();

  EXPECT_EQ(log.Lines,
            (std::vector<std::string>{"key 67 hit CAT:1 COW:1", "key 88 miss", "key 65 hit CAT:1",
                                      "CAT typed after 250", "key 84 hit CAT:1", "COW burst after 250", "bomb, 0 left",
                                      "key 32 hit", "key 32 miss", "brick lost 3,10", "O crashed after 0"}));
  form->Events.Remove(log);
  // The typing record counts a miss only when the key hits nothing.
  const TGameFigures& g = session->Record().Game();
  EXPECT_EQ(g.Hits, 3);
  EXPECT_EQ(g.Misses, 1);
  EXPECT_EQ(g.Letters, 4);  // C took a letter off both words
  EXPECT_EQ(g.Words, 1);
}

TEST_F(GameEvents, EachGameIsToldFromItsStartToHowItEnded) {
  MakeForm({});  // a form as the program starts it, no game running
  form->Events.Add(log);
  // A game lost, a game ended with Escape, and a game whose window closed.
  const uint32_t t0 = Now();
  platform->KeyAt(t0 + 3200, vk::Return);
  platform->KeyAt(t0 + 9000, vk::Return);
  platform->KeyAt(t0 + 9500, vk::Escape);
  platform->KeyAt(t0 + 10000, vk::Return);
  platform->Schedule({t0 + 10500, THeadlessPlatform::TEventKind::Close});
  platform->OnFrame = [&] {
    if (form->Playing && form->GameOverStamp == 0 && Now() > t0 + 3500 && Now() < t0 + 9000) form->GameOver();
  };
  form->Run();
  const std::string start = "started Classic at wave 1", wave = "wave 1";
  EXPECT_EQ(log.Lines, (std::vector<std::string>{start, wave, "game over", "ended lost", start, wave, "ended quit",
                                                 start, wave, "ended closed"}));
  // Closing the window ends the run at once.
  EXPECT_EQ(ShowingScreen(*form), "ended");
  EXPECT_LT(Now() - t0, 11000u);
  EXPECT_FALSE(platform->IsWindowVisible());
}
