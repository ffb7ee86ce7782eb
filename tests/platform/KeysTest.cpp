// The desktop keyboard: SDL key events (keycode and scancode pairs, given as
// the numbers SDL uses) to the game's virtual-key codes on several layouts,
// and the platform's own keys.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <tuple>
#include <vector>

#include "platform/Platform.h"
#include "platform/WaveDevice.h"
#include "platform/headless/HeadlessPlatform.h"
#include "platform/sdl/SdlPlatform.h"
#include "support/GameFixture.h"
#include "words/WordUnit.h"

namespace {
// SDL's numbering: keycodes of printable keys are their characters; others
// carry bit 30. Scancodes are USB usage ids (A = 4 ... Z = 29, 1 = 30 ... 0 = 39).
constexpr int32_t Mask = 1 << 30;
constexpr int32_t ScanA = 4;
int32_t Scan(char letter) { return ScanA + (letter - 'a'); }
int32_t Key(int scancode) { return scancode | Mask; }
}  // namespace

TEST(KeyTranslation, LettersFollowTheLayout) {
  struct Case {
    const char* layout;
    int32_t keycode;   // what the layout types
    int32_t scancode;  // where the key sits (QWERTY names)
    uint16_t expected;
  };
  const Case cases[] = {
      {"QWERTY", 'a', Scan('a'), 'A'},
      {"QWERTY", 'z', Scan('z'), 'Z'},
      {"AZERTY", 'a', Scan('q'), 'A'},  // the key in Q's place types a
      {"AZERTY", 'q', Scan('a'), 'Q'},
      {"AZERTY", 'z', Scan('w'), 'Z'},
      {"QWERTZ", 'z', Scan('y'), 'Z'},
      {"QWERTZ", 'y', Scan('z'), 'Y'},
      {"Dvorak", 'o', Scan('s'), 'O'},
      {"Dvorak", 'e', Scan('d'), 'E'},
      // Cyrillic: the keys type no Latin letter; their place decides.
      {"Cyrillic", 0x444 /* ф */, Scan('a'), 'A'},
      {"Cyrillic", 0x44F /* я */, Scan('z'), 'Z'},
      {"Cyrillic", 0x439 /* й */, Scan('q'), 'Q'},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TranslateSdlKey(c.keycode, c.scancode), c.expected) << c.layout << " " << c.keycode;
}

TEST(KeyTranslation, DigitsControlKeysKeypadAndFunctionKeys) {
  // {keycode, scancode, virtual key}. A layout whose number row types other
  // characters (AZERTY: é for 2) still gives the digit. Keypad digits send the
  // main digits: the classic keypad codes 96-105 would read as lower-case
  // letters to the words.
  const std::tuple<int32_t, int32_t, uint16_t> cases[] = {
      {'0', 39, '0'}, {'7', 36, '7'}, {0xE9, 31, '2'}, {'\r', 40, vk::Return}, {Key(88), 88, vk::Return},
      {'\x1B', 41, vk::Escape}, {' ', 44, vk::Space}, {'\b', 42, vk::Back}, {'\x7F', 76, vk::Delete},
      {Key(80), 80, vk::Left}, {Key(82), 82, vk::Up}, {Key(79), 79, vk::Right}, {Key(81), 81, vk::Down},
      {Key(89), 89, '1'}, {Key(98), 98, '0'}, {Key(58), 58, 112 /* F1 */}, {Key(69), 69, 123 /* F12 */},
      {Key(72), 72, 19 /* Pause */}};
  for (auto [keycode, scancode, expected] : cases) EXPECT_EQ(TranslateSdlKey(keycode, scancode), expected) << scancode;
}

// F10 (or Pause) pauses, F8 mutes, F11 or Alt+Enter toggles the full screen.
// The platform keeps those keys: they never reach the game.
TEST(DesktopKeys, PauseMuteAndFullscreenAreThePlatforms) {
  const std::tuple<uint16_t, bool, TDesktopAction> cases[] = {
      {19, false, TDesktopAction::Pause}, {121, false, TDesktopAction::Pause}, {119, false, TDesktopAction::Mute},
      {122, false, TDesktopAction::Fullscreen}, {vk::Return, true, TDesktopAction::Fullscreen},
      {vk::Return, false, TDesktopAction::None}, {'A', false, TDesktopAction::None}};
  for (auto [key, alt, action] : cases) EXPECT_EQ(DesktopActionFor(key, alt), action) << key << alt;

  struct TKeys : TInputSink {
    std::vector<uint16_t> Down;
    std::u32string Text;
    void KeyDown(uint16_t key, TShiftState) override { Down.push_back(key); }
    void TextInput(char32_t c) override { Text += c; }
    void KeyUp(uint16_t, TShiftState) override {}
    void MouseDown(TMouseButton, TShiftState, int, int) override {}
    void MouseMove(TShiftState, int, int) override {}
    void Close() override {}
  } keys;
  THeadlessPlatform platform;
  platform.SetInputSink(&keys);
  for (bool muted : {true, false}) {
    platform.PressKey(119);
    platform.ProcessMessages();
    EXPECT_EQ(platform.WaveOut().Muted(), muted);
  }
  // Paused, no key nor text reaches the game: Escape ends the pause, as F10 does.
  for (uint16_t resume : {vk::Escape, uint16_t{121}}) {
    platform.PressKey(121);
    platform.PressKey('B');
    platform.TypeText("b");
    platform.ProcessMessages();
    EXPECT_TRUE(platform.Paused());
    platform.PressKey(resume);
    platform.ProcessMessages();
    EXPECT_FALSE(platform.Paused()) << resume;
  }
  platform.PressKey('A');
  platform.TypeText("a");
  platform.ProcessMessages();
  EXPECT_EQ(keys.Down, std::vector<uint16_t>{'A'});
  EXPECT_EQ(keys.Text, U"a");
}

using PauseTest = GameFixture;

// Keys once reached a paused game: letters typed during a pause destroyed
// words and scored, and two Escapes quit the program, losing the score.
TEST_F(PauseTest, APausedGameNeitherMovesNorTakesKeysAndTimersContinueAfter) {
  StartGame();
  platform->ShowWindow();
  PlayFor(2500);  // past the wave's opening pause: a word is on its way
  ASSERT_GT(form->AttackWords->Count(), 0);
  const TSpriteWord* word = form->AttackWords->Words(0);
  const std::string text = word->Text;
  const TPoint before = form->AttackWords->Items(0)->Position;
  const int32_t score = form->Score;
  const uint32_t gameTime = form->GameTime, messageAge = form->MsSince(form->MessageStamp);
  uint32_t t = Now();
  platform->KeyAt(t, 121);  // F10
  for (char c : word->FullText)
    platform->KeyAt(++t, static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(c))));
  for (uint16_t key : {vk::Space, vk::Left, vk::Return}) platform->KeyAt(++t, key);
  platform->ClickAt(++t, 400, 300);
  platform->KeyAt(t + 1000, vk::Escape);
  platform->KeyAt(t + 1000, '5');  // after the Escape: the game has it again
  platform->KeyAt(t + 5000, 121);  // only for a build whose pause Escape cannot end
  PlayFrame();
  ASSERT_FALSE(platform->Paused());
  EXPECT_GE(Now(), t + 1000);
  ASSERT_TRUE(form->Playing);  // else the play below would wait for ever
  EXPECT_TRUE(platform->IsWindowVisible());
  EXPECT_EQ(word->Text, text);
  EXPECT_EQ(form->Score, score);
  EXPECT_EQ(form->LastKey, 0);  // the key-up came through as well
  // Only the one frame's time reached the game: at most its own step.
  EXPECT_GE(form->AttackWords->Items(0)->Position.X, before.X - 4);
  EXPECT_LE(form->GameTime - gameTime, 2 * platform->FrameMs);
  EXPECT_LE(form->MsSince(form->MessageStamp) - messageAge, 2 * platform->FrameMs);
  // And the game goes on: the word moves again.
  PlayFor(500);
  EXPECT_LT(form->AttackWords->Items(0)->Position.X, before.X);
}
