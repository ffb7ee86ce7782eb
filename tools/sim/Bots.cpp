#include "Bots.h"

#include <cstdlib>
#include <limits>

#include "framework/Letters.h"
#include "hiscores/HiScoreUnit.h"
#include "platform/Utf8.h"
#include "platform/headless/HeadlessPlatform.h"
#include "Game.h"
#include "play/Rules.h"
#include "words/WordUnit.h"

void TBot::Press(THeadlessPlatform& platform, uint16_t key) { platform.PressKey(key); }

void TBot::TypeLetter(TGame& game, THeadlessPlatform& platform, char32_t letter) {
  if (!game.Session.LettersAsText() || letter == vk::Space) {
    Press(platform, static_cast<uint16_t>(letter));
    return;
  }
  // A keyboard in the list's language types the letter as text.
  std::string text;
  AppendUtf8(text, letter);
  platform.TypeText(text);
}

namespace {

// The real next letter of a word (behind a "?" too), or 0.
char32_t NextLetter(const TSpriteWord& w) { return UpperLetter(w.NextLetter()); }

bool OnMenu(TGlyphfallForm& form) {
  return ShowingScreen(form) == "menu" && form.Menu &&
         form.Menu->Selected == MenuStart;
}

// Starts a game from the menu; the bots themselves only play.
bool HandleScreens(TBot& bot, TGlyphfallForm& form, THeadlessPlatform& platform, uint16_t& lastMenuKeyFrame) {
  (void)bot;
  if (ShowingScreen(form) == "menu") {
    if (lastMenuKeyFrame == 0) {
      if (form.Menu && form.Menu->Selected != MenuStart)
        platform.PressKey(vk::Up);
      else if (OnMenu(form))
        platform.PressKey(vk::Return);
      lastMenuKeyFrame = 5;
    } else {
      --lastMenuKeyFrame;
    }
    return true;
  }
  return !form.Playing;
}

class TNoneBot : public TBot {
 public:
  void OnFrame(TGame& game, THeadlessPlatform& platform) override {
    TGlyphfallForm& form = game.Form;
    HandleScreens(*this, form, platform, wait_);
  }

 private:
  uint16_t wait_ = 0;
};

// Picks the most urgent word: bullets first, then the attacking word nearest
// the castle, then bonus words.
const TSpriteWord* MostUrgent(TGlyphfallForm& form) {
  const TSpriteWord* best = nullptr;
  int32_t bestScore = std::numeric_limits<int32_t>::max();
  auto consider = [&](TWordList& list, int32_t bias) {
    for (int i = 0; i < list.Count(); ++i) {
      const TSpriteWord* w = list.Words(i);
      if (w->Text.empty() || NextLetter(*w) == 0) continue;
      if (w->Position.X >= PlayfieldWidth) continue;
      int32_t score = bias;
      if (w->Direction == DirFalling)
        score += (PlayfieldHeight - w->Position.Y) * 2;
      else
        score += w->Position.X * (6 - w->SpeedTier);
      if (w->IsBullet()) score -= 100000;
      if (score < bestScore) {
        bestScore = score;
        best = w;
      }
    }
  };
  consider(*form.AttackWords, 0);
  consider(*form.BonusWords, 1500);
  return best;
}

// Under rules with a lock, a reader keeps typing the word the keys go to.
constexpr int32_t BonusCatchX = 250;
const TSpriteWord* LockedTarget(TGame& game) { return game.Session.Rules() ? game.Session.Rules()->Target() : nullptr; }

class TPerfectBot : public TBot {
 public:
  void OnFrame(TGame& game, THeadlessPlatform& platform) override {
    TGlyphfallForm& form = game.Form;
    if (HandleScreens(*this, form, platform, wait_)) return;
    if (form.GameOverStamp != 0) return;
    const TSpriteWord* w = MostUrgent(form);
    if (!w) return;
    // The bomb still goes to the most urgent word; the keys to the locked one.
    const TSpriteWord* locked = LockedTarget(game);
    // A word about to break through: the bomb is the last resort.
    if (form.Bombs > 0 && w->Direction == DirLeft && !w->IsBullet() && w->Position.X < 110 &&
        w->Position.Y >= form.CastleTop() - 16) {
      Press(platform, vk::Space);
      return;
    }
    TypeLetter(game, platform, NextLetter(locked ? *locked : *w));
  }

 private:
  uint16_t wait_ = 0;
};

class THumanBot : public TBot {
 public:
  THumanBot(double cps, double errorPercent, uint32_t seed) : cps_(cps), err_(errorPercent), rng_(seed) {}
  void OnFrame(TGame& game, THeadlessPlatform& platform) override {
    TGlyphfallForm& form = game.Form;
    if (HandleScreens(*this, form, platform, wait_)) return;
    if (form.GameOverStamp != 0) return;
    // The letter of an attempt was taken in the frame after it was pressed.
    if (attempt_ != 0 && platform.GetTickCount() != attemptTime_) {
      const TSpriteWord* locked = LockedTarget(game);
      if (locked && locked->Serial == attempt_) ++BonusLocked;
      attempt_ = 0;
    }
    const uint32_t now = platform.GetTickCount();
    const uint32_t interval = static_cast<uint32_t>(1000.0 / cps_);
    const TSpriteWord* target = nullptr;
    for (int i = 0; i < form.AttackWords->Count(); ++i) {
      const TSpriteWord* w = form.AttackWords->Words(i);
      if (w->Text.empty() || w->Position.X >= PlayfieldWidth) continue;
      if (!target || w->Position.X < target->Position.X) target = w;
    }
    // Where letters reach one word only, a reader takes the falling bonus
    // words on purpose while no attacker is close.
    const bool catchBonus = game.Session.Rules() && (!target || target->Position.X > BonusCatchX);
    if (!target || catchBonus) {
      for (int i = 0; i < form.BonusWords->Count(); ++i) {
        const TSpriteWord* w = form.BonusWords->Words(i);
        if (!w->Text.empty()) target = w;
      }
    }
    // With nothing to type a typist waits; a word that comes up takes a
    // key's time to read before its first letter, as any other letter does.
    if (!target) {
      next_ = now + interval;
      return;
    }
    if (now < next_) return;
    next_ += interval;
    if (next_ < now) next_ = now;
    const TSpriteWord* locked = LockedTarget(game);
    char32_t key = NextLetter(locked ? *locked : *target);
    if (std::uniform_real_distribution<double>(0, 100)(rng_) < err_)
      key = static_cast<char32_t>('A' + std::uniform_int_distribution<int>(0, 25)(rng_));
    if (form.Bombs > 0 && target->Position.X < 100 && target->Direction == DirLeft) key = vk::Space;
    if (game.Session.Rules() && !locked && key == NextLetter(*target) && IsSoughtBonus(*target)) {
      ++BonusAttempts;
      attempt_ = target->Serial;
      attemptTime_ = now;
    }
    TypeLetter(game, platform, key);
  }

 private:
  static bool IsSoughtBonus(const TSpriteWord& w) {
    return TBombWord::ClassRef().IsKindOf(w) || TSlowDownWord::ClassRef().IsKindOf(w) ||
           TRetreatWord::ClassRef().IsKindOf(w);
  }
  uint64_t attempt_ = 0;  // serial of the bonus word of an attempt still to be judged
  uint32_t attemptTime_ = 0;
  double cps_;
  double err_;
  std::mt19937 rng_;
  uint32_t next_ = 0;
  uint16_t wait_ = 0;
};

// Presses random key codes of every kind, many per frame, on every screen.
class TRandomBot : public TBot {
 public:
  explicit TRandomBot(uint32_t seed) : rng_(seed) {}
  void OnFrame(TGame& game, THeadlessPlatform& platform) override {
    TGlyphfallForm& form = game.Form;
    // The keys that would end the program (Escape on the title and the menu,
    // Enter on QUIT) are left out there, so that the run goes on through
    // every screen.
    bool onMenu = (ShowingScreen(form) == "menu") ||
                  ShowingScreen(form) == "title";
    // The table on show ends at the first key; an Escape after it in the same
    // batch would reach the menu and quit.
    bool showingTable = ShowingScreen(form) == "hiscores" && form.HiScores->EntryRow < 0;
    // Now and then it rests during play, so that words get through, games
    // end in GAME OVER and the name entry comes up.
    if (form.Playing && (platform.GetTickCount() / 1000) % 60 >= 30) return;
    static const uint16_t special[] = {
        vk::Return, vk::Escape, vk::Space, vk::Left, vk::Up, vk::Right, vk::Down, vk::Back, vk::Delete, 9,   16,  17,
        18,         112,        123,       189,      222,    0,         255,      256,      65535,      '2', '0', '9'};
    for (int i = 0; i < PerFrame; ++i) {
      uint16_t key;
      int pick = std::uniform_int_distribution<int>(0, 99)(rng_);
      if (pick < 60)
        key = static_cast<uint16_t>('A' + std::uniform_int_distribution<int>(0, 25)(rng_));
      else if (pick < 90)
        key = special[std::uniform_int_distribution<size_t>(0, std::size(special) - 1)(rng_)];
      else
        key = static_cast<uint16_t>(std::uniform_int_distribution<int>(0, 65535)(rng_));
      if ((onMenu || showingTable) && key == vk::Escape) continue;
      // Pause would hold the game still with no frame to unpause it from.
      if (DesktopActionFor(key, false) == TDesktopAction::Pause) continue;
      // The arrows of this same batch may move the choice to QUIT before the
      // Enter arrives, so Enter goes only first in a batch.
      if (onMenu && key == vk::Return && (i > 0 || (form.Menu && form.Menu->Selected == MenuQuit))) continue;
      // Escape ends a game at once; keep it rare, and last in its batch (a
      // second one would quit from the menu).
      if (key == vk::Escape && std::uniform_int_distribution<int>(0, 49)(rng_) != 0) key = 'E';
      Press(platform, key);
      // A keyboard types a letter as text too; a list in another language
      // takes its letters that way (the English list ignores the text).
      if (key >= 'A' && key <= 'Z') platform.TypeText(std::string(1, static_cast<char>(key - 'A' + 'a')));
      // The menu acts on its choice after the frame: an arrow after Enter
      // would still change it.
      if ((onMenu && key == vk::Return) || showingTable || key == vk::Escape) break;
    }
  }
  static constexpr int PerFrame = 20;

 private:
  std::mt19937 rng_;
};

// Slides across the letter rows, Q W E ... B N M, at a steady rate without
// looking at the screen.
class TSweepBot : public TBot {
 public:
  explicit TSweepBot(double cps) : cps_(cps) {}
  void OnFrame(TGame& game, THeadlessPlatform& platform) override {
    TGlyphfallForm& form = game.Form;
    if (HandleScreens(*this, form, platform, wait_) || form.GameOverStamp != 0) {
      start_ = 0;  // the next game starts its own count
      return;
    }
    static constexpr char Keys[] = "QWERTYUIOPASDFGHJKLZXCVBNM";
    const uint32_t now = platform.GetTickCount();
    if (start_ == 0) {
      start_ = now;
      presses_ = 0;
    }
    // Several keys in one frame when the rate asks for it.
    while (start_ + static_cast<uint32_t>(1000.0 * static_cast<double>(presses_) / cps_) <= now) {
      Press(platform, static_cast<uint16_t>(Keys[presses_ % (sizeof(Keys) - 1)]));
      ++presses_;
    }
  }

 private:
  double cps_;
  uint64_t presses_ = 0;
  uint32_t start_ = 0;
  uint16_t wait_ = 0;
};

}  // namespace

std::unique_ptr<TBot> MakeBot(const std::string& name, uint32_t seed) {
  if (name == "none") return std::make_unique<TNoneBot>();
  if (name == "perfect") return std::make_unique<TPerfectBot>();
  if (name == "random") return std::make_unique<TRandomBot>(seed);
  if (name.rfind("sweep", 0) == 0) {
    size_t a = name.find(':');
    double cps = a == std::string::npos ? 14 : std::atof(name.c_str() + a + 1);
    return std::make_unique<TSweepBot>(cps > 0 ? cps : 14);
  }
  if (name.rfind("human", 0) == 0) {
    double cps = 6, err = 3;
    size_t a = name.find(':');
    if (a != std::string::npos) {
      cps = std::atof(name.c_str() + a + 1);
      size_t b = name.find(':', a + 1);
      if (b != std::string::npos) err = std::atof(name.c_str() + b + 1);
    }
    if (cps <= 0) cps = 6;
    return std::make_unique<THumanBot>(cps, err, seed);
  }
  return nullptr;
}
