// Typing bots for the simulator. A bot reads the game's state and presses
// keys through the platform's input queue, exactly as a player would; it
// never changes the game itself.
#pragma once
#include <cstdint>
#include <memory>
#include <random>
#include <string>

class TGame;
class THeadlessPlatform;

class TBot {
 public:
  virtual ~TBot() = default;
  // Called once per presented frame.
  virtual void OnFrame(TGame& game, THeadlessPlatform& platform) = 0;
  // Under rules with a lock: the first letters the bot typed at a BOMB,
  // SLOWDOWN or RETREAT word with nothing locked, and how many of them locked
  // that word.
  int64_t BonusAttempts = 0;
  int64_t BonusLocked = 0;

 protected:
  void Press(THeadlessPlatform& platform, uint16_t key);
  // A letter at the words: its key for the bundled list, text for others.
  void TypeLetter(TGame& game, THeadlessPlatform& platform, char32_t letter);
};

// "none", "perfect", "human:CPS:ERR" or "random"; null for an unknown name.
std::unique_ptr<TBot> MakeBot(const std::string& name, uint32_t seed);
