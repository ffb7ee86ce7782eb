// The added screens on fakes of the game: the stack that runs them, and each
// screen's keys and clicks.
#include <gtest/gtest.h>

#include <algorithm>

#include "hiscores/HiScoreTestSupport.h"
#include "play/Rules.h"
#include "screens/OptionsScreen.h"
#include "screens/ResultsPanel.h"
#include "screens/ScreenFakes.h"
#include "screens/StatsPanel.h"
#include "screens/WatchScreen.h"

namespace {

// Logs what the stack does to it; a key pushes, Escape pops.
class TLogScreen : public TScreen {
 public:
  TLogScreen(std::string name, std::vector<std::string>& log, bool takesInput = true)
      : name_(std::move(name)), log_(log), takes_(takesInput) {}
  std::string_view Name() const override { return name_; }
  void Enter(TScreenStack&) override { log_.push_back("enter " + name_); }
  void Leave() override { log_.push_back("leave " + name_); }
  void Update(TScreenStack&) override { log_.push_back("frame " + name_); }
  void Key(TScreenStack& stack, uint16_t key) override {
    log_.push_back("key " + name_);
    if (key == vk::Escape) stack.Pop();
    if (key == 'P') stack.Push(std::make_unique<TLogScreen>(name_ + "+", log_));
  }
  bool TakesInput() const override { return takes_; }

 private:
  std::string name_;
  std::vector<std::string>& log_;
  bool takes_;
};

class ScreensTest : public hstest::ScratchFolder {
 protected:
  void SetUp() override {
    ScratchFolder::SetUp();
    session_ = std::make_unique<TFakeSession>(folder_);
  }
  std::unique_ptr<TFakeSession> session_;
};

TEST_F(ScreensTest, PushAndPopTakeEffectBetweenFramesAndInputGoesToTheTopOnly) {
  std::vector<std::string> log;
  TScreenStack stack;
  TFakeHost& host = session_->FakeHost;
  host.OnPresent = [&](int frame) {
    switch (frame) {
      case 1: stack.Key('P'); break;         // a second screen, from the next frame on
      case 2: stack.Key('X'); break;         // to the top one only
      case 3: stack.Key(vk::Escape); break;  // back to the first
      case 4: stack.Key(vk::Escape); break;  // and out
      default: host.WindowClosed = true;
    }
  };
  stack.Run(host, std::make_unique<TLogScreen>("a", log));
  const std::vector<std::string> want = {"enter a",  "frame a", "key a",    "enter a+", "frame a+", "key a+",
                                         "frame a+", "key a+",  "leave a+", "frame a",  "key a",    "leave a"};
  EXPECT_EQ(log, want);
  EXPECT_TRUE(stack.Empty());
  EXPECT_FALSE(stack.Key('X'));  // nothing on the stack takes it

  // A screen that leaves the window's input to the game below it; a closed
  // window makes every screen leave.
  log.clear();
  stack.Push(std::make_unique<TLogScreen>("w", log, false));
  host.WindowClosed = true;
  stack.Run(host, std::make_unique<TLogScreen>("top", log, false));
  EXPECT_TRUE(stack.Empty());
  EXPECT_EQ(log, (std::vector<std::string>{"enter w", "enter top", "leave top", "leave w"}));
  stack.Push(std::make_unique<TLogScreen>("w", log, false));
  host.WindowClosed = false;
  host.OnPresent = [&](int) { EXPECT_FALSE(stack.Key('X')); host.WindowClosed = true; };
  stack.Run(host, nullptr);
}

// Arrows and clicks change the settings, each change put into effect; the
// wheel steps the row under the pointer; leaving saves them.
TEST_F(ScreensTest, OptionsChangeApplyAndSaveTheSettings) {
  const std::string saved = SettingsFile;
  SettingsFile = folder_ + "/settings.xml";
  TOptionsScreen options(*session_);
  TScreenStack stack;
  auto row = [&](const char* label) {
    for (size_t i = 0; i < options.Rows.size(); ++i)
      if (options.Rows[i].Label == label) return static_cast<int>(i);
    return -1;
  };
  auto at = [&](const char* label) { return options.RowY(row(label)) + 5; };
  TSettings& s = session_->Chosen;
  s.StartWave = 3;
  options.Selected = row("Start at wave");
  options.Key(stack, vk::Right);
  EXPECT_EQ(s.StartWave, 4);
  for (int i = 0; i < 2; ++i) options.Mouse(stack, {TMouse::TKind::Down, TMouseButton::Right, 300, at("Start at wave")});
  EXPECT_EQ(s.StartWave, 2);
  options.Mouse(stack, {TMouse::TKind::Down, TMouseButton::WheelUp, 300, at("Word speed")});
  EXPECT_EQ(s.SpeedPercent, 125);
  EXPECT_EQ(options.Selected, row("Word speed"));
  options.Mouse(stack, {TMouse::TKind::Down, TMouseButton::WheelDown, 300, at("Sound volume")});
  EXPECT_EQ(s.Volume, MaxVolume - VolumeStep);
  options.Selected = row("Word speed");
  options.Key(stack, vk::Left);
  EXPECT_EQ(s.SpeedPercent, 100);
  EXPECT_EQ(session_->Applied, 6);
  const TSettings now = s;
  options.Mouse(stack, {TMouse::TKind::Down, TMouseButton::WheelUp, 300, at("BACK")});  // not a value
  options.Mouse(stack, {TMouse::TKind::Down, TMouseButton::WheelUp, 300, 5});           // on no row
  EXPECT_EQ(s, now);
  EXPECT_FALSE(stack.Leaving());
  options.Selected = row("BACK");
  options.Key(stack, vk::Return);
  EXPECT_TRUE(stack.Leaving());
  options.Leave();
  EXPECT_EQ(LoadSettings(SettingsFile), now);
  SettingsFile = saved;
}

// A rules set added by one registration is offered by OPTIONS and read back
// from the settings file; a name no set has falls back to the Classic rules.
TEST_F(ScreensTest, ARegisteredRulesSetIsOfferedAndKept) {
  RegisterRulesSet({"Relay", "HISCORE-RELAY.XML", nullptr});
  TOptionsScreen options(*session_);
  TScreenStack stack;
  std::vector<std::string> offered;
  for (size_t i = 0; i < RulesSets().size(); ++i) {
    offered.push_back(session_->Chosen.Rules);
    options.Key(stack, vk::Right);  // the first row is Rules
  }
  EXPECT_EQ(offered.front(), ClassicRules);
  EXPECT_NE(std::find(offered.begin(), offered.end(), "Relay"), offered.end());
  EXPECT_EQ(session_->Chosen.Rules, ClassicRules);  // round again
  TSettings relay;
  relay.Rules = "Relay";
  EXPECT_EQ(SettingsFromXml(SettingsToXml(relay)).Rules, "Relay");
  relay.Rules = "Chess";
  EXPECT_EQ(SettingsFromXml(SettingsToXml(relay)).Rules, ClassicRules);
}

// The results take no key before their guard (it is still typing from the
// game); STATS turns its pages and asks for a kept game to be watched.
TEST_F(ScreensTest, ResultsWaitForTheirGuardAndStatsTurnPagesAndWatch) {
  TScreenStack stack;
  TResultsScreen results(*session_);
  results.Enter(stack);
  results.Key(stack, 'A');
  EXPECT_FALSE(stack.Leaving());
  session_->FakeHost.GameClock.GameTime += ResultsGuardMs;
  results.Mouse(stack, {TMouse::TKind::Move, TMouseButton::Left, 10, 10});
  EXPECT_FALSE(stack.Leaving());
  results.Key(stack, 'A');
  EXPECT_TRUE(stack.Leaving());

  // Two kept games in the folder, newest first on the second page.
  TReplay game;
  game.Header.Rules = ClassicRules;
  game.Events = {{TReplayInput::Text, 'a'}};
  game.Frames = {{16, 1}};
  const std::string older = SaveReplay(folder_, game, 1700000000);
  SaveReplay(folder_, game, 1700000100);
  TScreenStack pages;
  TStatsScreen stats(*session_);
  stats.Enter(pages);
  stats.Key(pages, vk::Right);
  ASSERT_TRUE(stats.Recent());
  stats.Draw(session_->FakeHost.Canvas());  // the list is read for drawing
  EXPECT_EQ(stats.Rows(), 2);
  stats.Key(pages, vk::Up);  // already the first: stays
  stats.Key(pages, vk::Down);
  stats.Key(pages, vk::Down);  // already the last: stays
  EXPECT_EQ(stats.Chosen(), 1);
  stats.Key(pages, vk::Return);
  EXPECT_EQ(session_->Loaded, std::vector<std::string>{(std::filesystem::path(folder_) / older).string()});
  stats.Mouse(pages, {TMouse::TKind::Down, TMouseButton::Left, ProgressLink().Left + 1, ProgressLink().Top + 1});
  EXPECT_FALSE(stats.Recent());
  EXPECT_FALSE(pages.Leaving());
  stats.Key(pages, 'Q');  // any other key on the first page leaves
  EXPECT_TRUE(pages.Leaving());
}

}  // namespace

namespace {

// The game a replay is fed to: it counts what reaches it.
class TFakeWatched : public TWatchedGame, public TInputSink {
 public:
  explicit TFakeWatched(TFakeHost& host) : host_(host) {}
  std::vector<uint16_t> Keys;
  uint32_t Clock = 0;
  bool On = true;
  TScreenHost& Host() override { return host_; }
  TInputSink& GameInput() override { return *this; }
  bool Playing() const override { return On; }
  void StopPlaying() override { On = false; }
  void Show() override {}
  void Advance(uint32_t step) override { Clock += step; }
  void KeyDown(uint16_t key, TShiftState) override { Keys.push_back(key); }
  void KeyUp(uint16_t, TShiftState) override {}
  void MouseDown(TMouseButton, TShiftState, int, int) override {}
  void MouseMove(TShiftState, int, int) override {}
  void Close() override {}

 private:
  TFakeHost& host_;
};

// Each frame of a watched game gets its recorded input and clock step; the
// window's Right and Left steer the speed between 1 and 8, Escape ends it,
// and so does the replay's end.
TEST_F(ScreensTest, AWatchedGameGetsEachFramesInputAndStepAndTheWindowSteersOnly) {
  auto replay = std::make_unique<TReplay>();
  replay->Frames = {{16, 1}, {20, 0}, {16, 1}};
  replay->Events = {{TReplayInput::KeyDown, 'A'}, {TReplayInput::KeyDown, 'B'}};
  TWatchScreen watch(*session_, std::move(replay), false);
  TFakeWatched game(session_->FakeHost);
  for (int i = 0; i < 5; ++i) watch.KeyDown(vk::Right, {});
  EXPECT_EQ(watch.Speed(), 8);
  for (int i = 0; i < 5; ++i) watch.KeyDown(vk::Left, {});
  EXPECT_EQ(watch.Speed(), 1);
  for (int frame = 0; frame < 3; ++frame) watch.PresentFrame(game);
  EXPECT_EQ(game.Keys, (std::vector<uint16_t>{'A', 'B'}));  // the window's keys never reach it
  EXPECT_EQ(game.Clock, 52u);
  EXPECT_TRUE(game.On);
  watch.PresentFrame(game);  // past the last frame
  EXPECT_FALSE(game.On);

  TWatchScreen stopped(*session_, std::make_unique<TReplay>(TReplay{{}, {{16, 0}, {16, 0}}, {}, {}}), false);
  TFakeWatched second(session_->FakeHost);
  stopped.PresentFrame(second);
  stopped.KeyDown(vk::Escape, {});
  stopped.PresentFrame(second);
  EXPECT_FALSE(second.On);
  EXPECT_EQ(second.Clock, 16u);
}

}  // namespace
