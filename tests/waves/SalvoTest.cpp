// The word salvo at the end of a wave.
#include "waves/PlayFixture.h"
#include "words/Ink.h"

namespace {

class SalvoTest : public PlayTest {
 protected:
  // Wave 1's ordinary words are all gone: the next frame starts its salvo.
  void StartWaveOneSalvo() {
    QuietStage();
    Wave().WordsLeft = 0;
    Frame();
    ASSERT_TRUE(Wave().SalvoRunning());
  }
};

}  // namespace

TEST_F(SalvoTest, WarningPausesThenReleasesSalvoWordsUpToMaxWords) {
  // Salvo words skip the spawner's vertical and hidden-letter rolls.
  Wave().VerticalChance = 1;
  Wave().HiddenLetterChance = 1;
  StartWaveOneSalvo();
  EXPECT_EQ(form->MessageText, std::string("PREPARE\0FOR A WORD SALVO!", 25));
  EXPECT_EQ(form->MessageColour, clBlue);
  EXPECT_EQ(Wave().StageStart, Clock());

  RunFor(StagePause - 10);
  EXPECT_EQ(Attack().Count(), 0);
  RunFor(500);
  EXPECT_EQ(Attack().Count(), 8);
  for (int i = 0; i < Attack().Count(); ++i) {
    EXPECT_EQ(Attack().Words(i)->Text, "A");
    EXPECT_FALSE(Attack().Words(i)->Vertical);
  }
}

TEST_F(SalvoTest, WarningShowsBothLines) {
  StartWaveOneSalvo();
  TBitmap& image = *form->OffscreenImage;
  Blank(image);
  form->DrawCentredLines(form->MessageText, form->MessageColour);
  // The last line stands at y = 270, the first one line height above it.
  image.Canvas().Font.Size = 30;
  int lineHeight = image.Canvas().TextHeight("X");
  EXPECT_GT(InkIn(image, {0, 270 - lineHeight, 800, 270}).Count, 0);
  EXPECT_GT(InkIn(image, {0, 270, 800, 270 + lineHeight}).Count, 0);
}

TEST_F(SalvoTest, EachPressHitsOnlyTheLeftmostWordSoWaveOneTakesSixtyFourPresses) {
  StartWaveOneSalvo();
  int presses = 0;
  const uint32_t giveUp = Clock() + 60000;
  while (form->WaveNumber == 1 && Clock() < giveUp) {
    Frame();
    if (LivingWords() > 0) {
      Press('A');
      ++presses;
    }
  }
  EXPECT_EQ(form->WaveNumber, 2);
  EXPECT_EQ(presses, 64);
  EXPECT_EQ(form->Score, 64 * 10);
}

TEST_F(SalvoTest, WordsLostToTheCastleOrToABombCountOff) {
  StartWaveOneSalvo();
  // A one-letter word against a standing brick of column 3.
  AddAttack("A", 3, {65, Row(10)});
  RunFor(100);
  EXPECT_EQ(Wave().WordsLeft, 63);
  EXPECT_TRUE(form->Castle.IsDamaged(3, 10));
  EXPECT_EQ(form->GameOverStamp, 0u);

  AddAttack("A", 0, {300, Row(5)});
  AddAttack("A", 0, {400, Row(8)});
  AddAttack("A", 0, {500, Row(12)});
  form->Bombs = 1;
  Press(vk::Space);
  Settle();
  EXPECT_EQ(Wave().WordsLeft, 60);
  EXPECT_EQ(form->Bombs, 0);
}
