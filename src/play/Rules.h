// The rules a game is played by, chosen by name when it starts. The Classic
// rules are the form's own code path and have no object; every other set is
// a class registered here with one line, and nothing else in the game names it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TCanvas;
class TPlay;
class TSpriteWord;

class TRules {
 public:
  virtual ~TRules() = default;
  // A key at the words (never the space bar), between BeginKey and EndKey of
  // the game's events.
  virtual void KeyPressed(uint16_t key) = 0;
  // A letter typed as text (its capital), for lists in other languages;
  // unless exact, a plain letter also hits its accented forms.
  virtual void LetterPressed(char32_t letter, bool exact) = 0;
  // After the words are drawn.
  virtual void Draw(TCanvas&) {}
  // The word the keys go to, or null.
  virtual const TSpriteWord* Target() const { return nullptr; }
};

struct TRulesSet {
  std::string Name;         // as the options, the files and the replays spell it
  std::string HiScoreFile;  // its own score table
  // Null for the Classic rules.
  std::function<std::unique_ptr<TRules>(TPlay&)> Make;
};

// Every rules set, the Classic one first, in the order the options offer them.
const std::vector<TRulesSet>& RulesSets();
// Adds a set (a name already known replaces that set).
void RegisterRulesSet(TRulesSet set);
// The set of that name, or null.
const TRulesSet* FindRulesSet(std::string_view name);
