// The armed and armoured attacking kinds.
#include <set>
#include <vector>

#include "waves/PlayFixture.h"
#include "words/Ink.h"

namespace {

class ArmedTest : public PlayTest {
 protected:
  // Bullets fired by the cannon with this serial, in firing order.
  std::vector<TSpriteWord*> NewBullets(uint64_t cannon) {
    std::vector<TSpriteWord*> found;
    for (int i = 0; i < Attack().Count(); ++i) {
      TSpriteWord* w = Attack().Words(i);
      if (w->IsBullet() && w->Shooter == cannon && seen_.insert(w->Serial).second) found.push_back(w);
    }
    return found;
  }
  // The cannon's next bullet, stepping the words until it comes.
  TSpriteWord* NextBullet(const TSpriteWord* cannon) {
    for (int i = 0; i < 1000; ++i) {
      StepWords();
      if (std::vector<TSpriteWord*> b = NewBullets(cannon->Serial); !b.empty()) return b[0];
    }
    return nullptr;
  }
  void ClearScreen() { Blank(*form->OffscreenImage); }
  TRect LitBox() { return InkIn(*form->OffscreenImage).Box; }

 private:
  std::set<uint64_t> seen_;
};

}  // namespace

TEST_F(ArmedTest, CannonFiresFromItsFirstFullyVisibleStepThenOncePerInterval) {
  TCannonWord* cannon = AddKind<TCannonWord>("CANNON", 0, {797, Row(10)});
  EXPECT_EQ(cannon->Icon, form->CannonImage.get());
  EXPECT_FALSE(cannon->MayTurnVertical);
  uint32_t firstFullyOn = 0;
  std::vector<uint32_t> shots;
  const uint32_t start = Clock();
  while ((firstFullyOn == 0 || Clock() < firstFullyOn + 10500) && Clock() < start + 20000) {
    StepWords();
    if (firstFullyOn == 0 && cannon->IsFullyOnScreen()) firstFullyOn = Clock();
    if (!NewBullets(cannon->Serial).empty()) shots.push_back(Clock());
  }
  ASSERT_NE(firstFullyOn, 0u);
  ASSERT_EQ(shots.size(), 3u);
  EXPECT_EQ(shots[0], firstFullyOn);
  for (size_t i = 1; i < shots.size(); ++i) {
    EXPECT_GE(shots[i] - shots[i - 1], 5000u);
    EXPECT_LE(shots[i] - shots[i - 1], 5000u + 90u);  // the next step after the interval
  }
}

TEST_F(ArmedTest, SpedUpCannonLetsItsIntervalPassWithoutFiring) {
  TCannonWord* cannon = AddKind<TCannonWord>("CANNON", 4, {650, Row(10)});
  StepWords();
  EXPECT_TRUE(NewBullets(cannon->Serial).empty());
  const uint32_t stamp = cannon->FireStamp;
  EXPECT_EQ(stamp, Clock());

  cannon->SetSpeedTier(3);  // the fastest tier a wave gives still fires
  while (Clock() < stamp + 4990) {
    StepWords();
    ASSERT_TRUE(NewBullets(cannon->Serial).empty());
  }
  for (int i = 0; i < 10; ++i) StepWords();
  EXPECT_EQ(NewBullets(cannon->Serial).size(), 1u);
}

TEST_F(ArmedTest, BulletCarriesTheCannonsNextLetterAndSparesTheCannonOnThatPress) {
  TCannonWord* cannon = AddKind<TCannonWord>("CAT", 0, {400, Row(10)});
  TSpriteWord* bullet = NextBullet(cannon);
  ASSERT_TRUE(bullet);
  EXPECT_EQ(bullet->Text, "C");
  EXPECT_EQ(bullet->SpeedTier, 4);
  EXPECT_TRUE(static_cast<TBulletWord*>(bullet)->Spinning);
  EXPECT_EQ(bullet->Position.Y, cannon->Position.Y);

  Press('C');
  EXPECT_TRUE(bullet->Text.empty());
  EXPECT_EQ(cannon->Text, "CAT");
  EXPECT_EQ(form->Score, 0);
  Press('C');
  EXPECT_EQ(cannon->Text, "AT");

  // Its first letter hidden, a cannon still fires a bullet some key can stop.
  TCannonWord* hidden = AddKind<TCannonWord>("DOG", 0, {400, Row(20)});
  hidden->Text = "?OG";
  bullet = NextBullet(hidden);
  ASSERT_TRUE(bullet);
  EXPECT_EQ(bullet->Text, "D");
  Press('D');
  EXPECT_TRUE(bullet->Text.empty());
  EXPECT_EQ(hidden->Text, "?OG");

  // A salvo's cannon has no icon, yet fires.
  TCannonWord* salvo = AddAttack<TCannonWord>("ABC", 0, {400, Row(25)});
  EXPECT_EQ(salvo->Icon, nullptr);
  EXPECT_TRUE(NextBullet(salvo));
}

TEST_F(ArmedTest, BulletsAreNeverCountedOffAndEarnNothing) {
  QuietStage();
  AddBullet('Q', {400, Row(10)});
  AddBullet('R', {1, Row(0) - 40});  // about to fly out over the castle
  form->Bombs = 1;
  StepWords(10);
  Press(vk::Space);
  StepWords(10);
  EXPECT_EQ(Attack().Count(), 0);
  EXPECT_EQ(form->Score, 0);
  EXPECT_EQ(Wave().WordsLeft, 10);
}

TEST_F(ArmedTest, SpinningBulletTurnsInPlace) {
  TBulletWord* bullet = AddBullet('W', {400, Row(10)});
  std::vector<TRect> boxes;
  for (int step = 0; step < 72; ++step) {
    bullet->Act();
    ClearScreen();
    bullet->Draw(form->Stage);
    boxes.push_back(LitBox());
  }
  EXPECT_EQ(bullet->Angle, 0);
  TCanvas& canvas = form->Canvas();
  SetFontAngle(canvas, -50);
  EXPECT_EQ(canvas.Font.Angle, 3550);
  SetFontAngle(canvas, 3650);
  EXPECT_EQ(canvas.Font.Angle, 50);
  SetFontAngle(canvas, 0);
  const TRect& upright = boxes.back();
  const TRect& quarter = boxes[17];  // 90 degrees
  ASSERT_GT(upright.Width(), 0);
  // The letter really turns: a quarter turn swaps its width and height ...
  EXPECT_NEAR(quarter.Width(), upright.Height(), 3);
  EXPECT_NEAR(quarter.Height(), upright.Width(), 3);
  // ... about a fixed centre.
  for (const TRect& box : boxes) {
    EXPECT_NEAR(box.Left + box.Right, upright.Left + upright.Right, 6);
    EXPECT_NEAR(box.Top + box.Bottom, upright.Top + upright.Bottom, 6);
  }
}

TEST_F(ArmedTest, SpeedUpClockCountsNineDigitsInSeventyOnScreenTicksThenSpeedsEveryoneUp) {
  TSpriteWord* slow = AddAttack("BUG", 1, {500, Row(5)});
  TSpriteWord* bullet = AddBullet('Q', {600, Row(15)});
  TSpeedUpWord* clock = AddKind<TSpeedUpWord>("RADIO", 0, {300, Row(10)});
  EXPECT_EQ(clock->Icon, form->ClockImage.get());
  int ticks = 0;
  for (; ticks < 100 && clock->Countdown > 0; ++ticks) {
    form->GameTime += 90;  // tier 0: every step ticks
    clock->Act();
  }
  EXPECT_EQ(ticks, 70);
  EXPECT_EQ(clock->Icon, nullptr);
  EXPECT_EQ(slow->SpeedTier, 4);
  EXPECT_EQ(clock->SpeedTier, 4);
  EXPECT_EQ(bullet->SpeedTier, 4);
  EXPECT_EQ(form->ScoreItems->Count(), 2);  // bullets are not sped up again

  // It ticks only on steps 80 ms apart, and only while its box is on screen.
  TSpeedUpWord* tier1 = AddKind<TSpeedUpWord>("RADIO", 1, {300, Row(10)});
  TSpeedUpWord* entering = AddKind<TSpeedUpWord>("RADIO", 0, {770, Row(15)});
  entering->PlaceAt({entering->Position.X + 790 - entering->IconX(), Row(15)});  // the box ends at 800
  for (int i = 0; i < 10; ++i) {
    form->GameTime += 70;
    tier1->Act();
    entering->Act();
  }
  EXPECT_EQ(tier1->DigitSize, 12 - 5);
  EXPECT_EQ(entering->DigitSize, 12);
}

TEST_F(ArmedTest, SpeedUpTriggersOnlyIfNotTypedInTime) {
  TSpriteWord* slow = AddAttack("BUG", 0, {500, Row(5)});
  TSpeedUpWord* typed = AddKind<TSpeedUpWord>("RADIO", 0, {300, Row(10)});
  typed->Countdown = 1;
  Type("RADIO");
  EXPECT_EQ(slow->SpeedTier, 0);
  EXPECT_EQ(form->Score, 50);

  TSpriteWord* fast = AddAttack("FLY", 3, {500, Row(20)});
  TSpeedUpWord* crashing = AddKind<TSpeedUpWord>("Z", 0, {65, Row(12)});
  crashing->Countdown = 5;
  while (!crashing->Text.empty()) form->GameTime += 10, crashing->Step();
  EXPECT_EQ(slow->SpeedTier, 4);
  EXPECT_EQ(fast->SpeedTier, 4);
}

TEST_F(ArmedTest, FlashWordIsDrawnStackedAndTypedBurstsEveryAttackerAndScoresThemAll) {
  TFlashWord* flash = AddKind<TFlashWord>("ZAPS", 0, {300, Row(5)});
  EXPECT_EQ(flash->Colours, (std::vector<TColor>{clYellow, clRed, clBlue, clYellow}));
  EXPECT_FALSE(flash->MayHideLetter);
  flash->Draw(form->Stage);
  EXPECT_EQ(flash->Colours, (std::vector<TColor>{clRed, clYellow, clRed, clBlue}));
  // A stacked flash word is drawn a letter per row.
  flash->Vertical = true;
  ClearScreen();
  flash->Draw(form->Stage);
  EXPECT_GT(LitBox().Height(), 2 * 17);
  EXPECT_LT(LitBox().Width(), flash->TextWidthAt("ZAPS") / 2);
  TSpriteWord* plain = AddAttack("CAT", 0, {400, Row(8)});
  TFlashWord* other = AddKind<TFlashWord>("FOX", 1, {500, Row(11)});
  TSpriteWord* bullet = AddBullet('Q', {600, Row(14)});
  TBonusWord* bonus = AddBonus<TRetreatWord>(200);
  Type("ZAPS");
  EXPECT_TRUE(flash->Text.empty());
  EXPECT_TRUE(plain->Text.empty());
  EXPECT_TRUE(other->Text.empty());
  EXPECT_TRUE(bullet->Text.empty());
  EXPECT_EQ(bonus->Text, "RETREAT");
  EXPECT_EQ(form->Score, 40 + 30 + 30);
  EXPECT_EQ(form->Bombs, 0);
}

TEST_F(ArmedTest, BigWordNeedsItsRowsStrikesOneBrickPerRowAndEarnsPlainPoints) {
  std::unique_ptr<TSpriteWord> made;
  std::set<int32_t> scales;
  for (int i = 0; i < 300; ++i) {
    std::unique_ptr<TSpriteWord> w = TBigWord::ClassRef().CreateFromWord(TWord("OX"), 0, DirLeft, nullptr);
    scales.insert(w->Scale);
    if (w->Scale == 10) made = std::move(w);
  }
  EXPECT_EQ(*scales.begin(), 1);
  EXPECT_EQ(*scales.rbegin(), 10);
  ASSERT_TRUE(made);
  TSpriteWord* big = made.get();
  Attack().Add(std::move(made));
  big->PlaceAt({65, Row(5)});
  EXPECT_FALSE(big->MayTurnVertical);
  EXPECT_EQ(big->FontSize(), 140);
  for (int i = 0; i < 200; ++i) {
    int32_t y = form->ChooseSpawnRow(*big);
    EXPECT_GE(y, Row(2));
    EXPECT_LE(y, Row(19));
  }
  while (big->Text == "OX") form->GameTime += 90, big->Step();
  for (int r = 5; r < 15; ++r) EXPECT_TRUE(form->Castle.IsDamaged(3, r)) << "row " << r;
  EXPECT_FALSE(form->Castle.IsDamaged(3, 4));
  EXPECT_FALSE(form->Castle.IsDamaged(3, 15));
  Attack().RemoveAll();
  AddKind<TBigWord>("OX", 0, {400, Row(5)});
  Type("OX");
  EXPECT_EQ(form->Score, 20);
}

TEST_F(ArmedTest, ShieldBehindTheLettersHasNoBrightDetail) {
  // Yellow letters read on the shield only where it is dark: the rows the
  // strokes cover hold nothing near yellow's brightness.
  ClearScreen();
  AddKind<TShieldedWord>("ILO", 3, {400, Row(5)})->Draw(form->Stage);
  TRect word = LitBox();
  TInk ink = InkIn(*form->OffscreenImage, word, clYellow);
  ASSERT_GT(ink.Count, 0);
  const TBitmap& shield = *form->ShieldImage;
  const int shieldTop = word.Top - 1;  // its top row is clear
  for (int y = ink.Box.Top - shieldTop; y < ink.Box.Bottom - shieldTop; ++y)
    for (int x = 0; x < shield.Width(); ++x) {
      TColor c = shield.Scanline(y)[x];
      int luma = (299 * (c & 0xFF) + 587 * ((c >> 8) & 0xFF) + 114 * (c >> 16)) / 1000;
      EXPECT_LT(luma, 150) << "shield pixel " << x << "," << y;
    }
}

TEST_F(ArmedTest, ShieldedWordTakesTwoPressesPerLetterForDoublePoints) {
  TShieldedWord* word = AddKind<TShieldedWord>("SHOT", 3, {400, Row(5)});
  TPlayStats& seen = Watch();
  EXPECT_TRUE(word->Shielded);
  EXPECT_EQ(word->TextColour(), clYellow);
  Press('S');
  EXPECT_EQ(word->Text, "SHOT");
  EXPECT_FALSE(word->Shielded);
  EXPECT_EQ(word->SpeedTier, 3);
  EXPECT_EQ(form->ExplodeItems->Count(), 1);
  Press('S');
  EXPECT_EQ(word->Text, "HOT");
  EXPECT_TRUE(word->Shielded);
  Type("HHOOT");
  EXPECT_EQ(form->Score, 0);
  Press('T');
  EXPECT_EQ(form->Score, 80);
  EXPECT_EQ(seen.LettersTyped, 4);  // eight presses
}
