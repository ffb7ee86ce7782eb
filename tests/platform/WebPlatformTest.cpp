// The browser platform's parts that need no browser: its key names and the
// timeline its sound device keeps on the game's clock.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/Messages.h"
#include "platform/Platform.h"
#include "platform/web/WebAudio.h"
#include "platform/web/WebKeys.h"

TEST(WebKeys, LettersFollowTheLayoutAndOtherScriptsFallBackToThePlace) {
  // A French layout's A key, a Cyrillic short i, a French e acute on the 2 key.
  const std::tuple<const char*, const char*, uint16_t> cases[] = {
      {"a", "KeyQ", 'A'}, {"Z", "KeyZ", 'Z'}, {"7", "Numpad7", '7'}, {"\xD0\xB9", "KeyQ", 'Q'},
      {"\xC3\xA9", "Digit2", '2'}, {"Dead", "BracketLeft", 0}, {" ", "Space", vk::Space},
      {"Enter", "NumpadEnter", vk::Return}, {"ArrowDown", "ArrowDown", vk::Down}, {"F8", "F8", 119},
      {"F11", "F11", 122}, {"F13", "F13", 0}, {"Meta", "MetaLeft", 0}};
  for (auto [key, code, expected] : cases) EXPECT_EQ(TranslateWebKey(key, code), expected) << code;
}

// A browser that has not started sound (no key pressed yet) or refuses it
// plays nothing; the buffers must still come back in time, or every sound
// player would wait for ever.
TEST(WebAudio, BuffersComeBackOnTheGameClockInOrder) {
  TMessageQueue queue;
  uint32_t now = 1000;
  TWebWaveOutDevice device(queue, [&] { return now; });
  TWaveFormatEx format{WAVE_FORMAT_PCM, 1, 8000, 16000, 2, 16, 0};  // 16 bytes a millisecond
  THWaveOut h = 0;
  ASSERT_EQ(device.Open(&h, WAVE_MAPPER, &format, 0, 0), MMSYSERR_NOERROR);
  std::vector<uint8_t> data(1600);  // 100 ms
  TWaveHdr first{data.data(), 1600}, second{data.data(), 1600};
  for (TWaveHdr* hdr : {&first, &second}) {
    ASSERT_EQ(device.PrepareHeader(h, hdr), MMSYSERR_NOERROR);
    ASSERT_EQ(device.Write(h, hdr), MMSYSERR_NOERROR);
  }
  now += 50;
  device.Poll();
  TMMTime at;
  device.GetPosition(h, at);
  EXPECT_EQ(at.wType, static_cast<uint32_t>(TIME_SAMPLES));
  EXPECT_EQ(at.Value, 400u);  // half of the first buffer
  EXPECT_FALSE(first.dwFlags & WHDR_DONE);

  // Paused, the timeline stands still; restarted, it goes on.
  ASSERT_EQ(device.Pause(h), MMSYSERR_NOERROR);
  now += 500;
  device.Poll();
  EXPECT_FALSE(first.dwFlags & WHDR_DONE);
  ASSERT_EQ(device.Restart(h), MMSYSERR_NOERROR);
  now += 100;
  device.Poll();
  EXPECT_TRUE(first.dwFlags & WHDR_DONE);
  EXPECT_FALSE(second.dwFlags & WHDR_DONE);
  now += 100;
  device.Poll();
  EXPECT_TRUE(second.dwFlags & WHDR_DONE);
  EXPECT_EQ(device.Close(h), MMSYSERR_NOERROR);
}
