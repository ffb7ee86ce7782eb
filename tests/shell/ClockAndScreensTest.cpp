
#include <filesystem>

#include "framework/GameClock.h"
#include "support/GameFixture.h"
#include "support/InFolder.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

using Screens = GameFixture;

// The clock every timer of the game is a stamp against.
TEST(GameClock, AZeroStampFiresAtOnceAndAStampBeyondTheClockCountsAcrossTheWrap) {
  TGameClock clock;
  clock.GameTime = 5000;
  uint32_t stamp = 0;
  EXPECT_TRUE(clock.HasElapsed(0, 123456));
  EXPECT_EQ(clock.MsSince(0), 0u);
  EXPECT_TRUE(clock.TickEvery(stamp, 100));
  EXPECT_EQ(stamp, 5000u);
  EXPECT_FALSE(clock.TickEvery(stamp, 100));
  clock.GameTime = 5100;
  EXPECT_TRUE(clock.TickEvery(stamp, 100));
  EXPECT_EQ(stamp, 5100u);
  clock.GameTime = 20;
  EXPECT_EQ(clock.MsSince(UINT32_MAX - 9), 9u + 20u);
  EXPECT_TRUE(clock.HasElapsed(UINT32_MAX - 9, 29));
  EXPECT_FALSE(clock.HasElapsed(UINT32_MAX - 9, 30));
}

// The window is centred; game time stands still while it is inactive; the
// title lasts three seconds whatever keys come.
TEST_F(Screens, WindowCentredGameTimeStandsStillWhileInactiveAndTitleLastsThreeSeconds) {
  game.reset();
  platform->SetWorkArea({1000, 800});
  MakeGame();
  EXPECT_EQ(platform->WindowPos().X, (1000 - 808) / 2);
  EXPECT_EQ(platform->WindowPos().Y, (800 - 626) / 2);
  form->PresentFrame();
  const uint32_t before = form->GameTime, stamp = form->GameTime;
  platform->Schedule({Now(), THeadlessPlatform::TEventKind::Deactivate});
  platform->Schedule({Now() + 5000, THeadlessPlatform::TEventKind::Activate});
  platform->ShowWindow();
  form->PresentFrame();
  EXPECT_GE(Now(), before + 5000);
  // Only the frame's own time reached the game.
  EXPECT_EQ(form->GameTime, before + platform->FrameMs);
  EXPECT_EQ(form->MsSince(stamp), platform->FrameMs);

  form->BuildMenu();
  for (uint32_t t = 0; t < 3000; t += 100) platform->KeyAt(Now() + t, 'A');
  platform->KeyAt(Now() + 500, vk::Return);
  const uint32_t start = form->GameTime;
  form->ShowTitle();
  EXPECT_GE(form->GameTime - start, 3000u);
  EXPECT_LT(form->GameTime - start, 3000u + 2 * platform->FrameMs);
}

// ... and Escape on the menu ends the program.
TEST_F(Screens, RunSwitchPlaysFirstThenShowsTheTitle) {
  MakeForm({"/RUN"});
  std::vector<std::string_view> seen;
  platform->OnFrame = [&] {
    if (seen.empty() || seen.back() != ShowingScreen(*form)) seen.push_back(ShowingScreen(*form));
    if (ShowingScreen(*form) == "play" && form->GameTime > 1000000 + 500) form->Playing = false;
  };
  platform->KeyAt(Now() + 5000, vk::Escape);  // closes the menu
  form->Run();
  EXPECT_EQ(seen, (std::vector<std::string_view>{"play", "title", "menu"}));
  EXPECT_EQ(ShowingScreen(*form), "ended");
  EXPECT_FALSE(platform->IsWindowVisible());
  EXPECT_EQ(form->Menu->Selected, MenuQuit);
}

TEST_F(Screens, EscapeEndsAGameWithoutGameOverAndArrowsOnOtherScreensNeverQuitUnasked) {
  // Up on the title selects QUIT; the menu must still come (the game is played
  // from it). Up during play selects QUIT again; only Enter on the menu ends it.
  uint32_t t0 = Now();
  platform->KeyAt(t0 + 1000, vk::Up);
  platform->KeyAt(t0 + 3500, vk::Down);    // QUIT -> START
  platform->KeyAt(t0 + 3600, vk::Return);  // play
  platform->KeyAt(t0 + 4000, vk::Up);      // during play: START -> QUIT
  platform->KeyAt(t0 + 4100, vk::Escape);  // end the game
  platform->KeyAt(t0 + 8000, vk::Return);  // QUIT
  int playFrames = 0;
  platform->OnFrame = [&] { playFrames += form->Playing; };
  TPlayStats& seen = Watch();
  form->Run();
  EXPECT_EQ(seen.GamesPlayed, 1);
  EXPECT_EQ(form->GameOverStamp, 0u);
  EXPECT_GT(playFrames, 0);
  EXPECT_LT(playFrames, 100);  // ended at the Escape, not 4 s after a game over
  EXPECT_GE(Now(), t0 + 8000);
  EXPECT_EQ(ShowingScreen(*form), "ended");
}

TEST_F(Screens, RunWorksInTheProgramsFolderWhereverTheFormWasStarted) {
  const std::filesystem::path program = std::filesystem::current_path();
  platform->SetExeName((program / "glyphfall").string());
  InFolder(std::filesystem::temp_directory_path(), [&] {
    platform->KeyAt(Now() + 3500, vk::Escape);
    form->Run();
    EXPECT_EQ(std::filesystem::current_path(), program);
  });
}

using KeyRouting = GameFixture;

namespace {
// Records the keys the attacking words are offered.
class RecordingList : public TWordList {
 public:
  void KeyPressed(uint16_t key) override { keys.push_back(key); }
  std::vector<uint16_t> keys;
};
}  // namespace

TEST_F(KeyRouting, HeldLetterTypesOnceArrowsMoveTheMenuTypingStopsAfterGameOverAndSkippingNeedsTheSwitch) {
  StartGame();
  auto* rec = new RecordingList;
  form->AttackWords.reset(rec);
  for (uint16_t key : {'A', 'A', 'A'}) form->KeyDown(key, {});  // auto-repeat
  form->KeyUp('A', {});
  form->KeyDown('A', {});
  form->Bombs = 3;
  form->KeyDown(vk::Space, {});
  form->KeyDown(vk::Space, {});  // space is not filtered as a repeat
  EXPECT_EQ(form->Bombs, 1);
  form->KeyDown(vk::Down, {});
  EXPECT_EQ(form->Menu->Selected, MenuHighScores);
  // On HIGH SCORES the next key goes to the (display-only) high-score
  // handler, which sets MenuActive; the keys after it reach the game again.
  form->KeyDown('Q', {});
  EXPECT_TRUE(form->MenuActive);
  form->KeyDown(vk::Up, {});
  EXPECT_EQ(form->Menu->Selected, MenuStart);
  form->KeyDown('R', {});
  form->GameOverStamp = form->GameTime;
  form->KeyDown('B', {});
  EXPECT_EQ(rec->keys, (std::vector<uint16_t>{'A', 'A', 'R'}));

  // The key 2 ends a stage only with the testing switch.
  for (bool withSwitch : {false, true}) {
    SCOPED_TRACE(withSwitch ? "with /vbnmq" : "without it");
    if (withSwitch) MakeForm({"/vbnmq"});
    StartGame();
    form->CurrentWave->WordsLeft = 5;
    // A word the key 2 would type, were it ever typed at words.
    TSpriteWord* word = static_cast<TSpriteWord*>(
        form->AttackWords->Add(TSpriteWord::ClassRef().CreateFromText("2X", 0, DirLeft, nullptr)));
    word->PlaceAt({400, form->CastleTop()});
    form->KeyDown('2', {});
    // Without the switch nothing at all; with it the stage ends, its words burst.
    EXPECT_EQ(word->Text, withSwitch ? "" : "2X");
    EXPECT_EQ(form->CurrentWave->WordsLeft, withSwitch ? 0 : 5);
  }
}
