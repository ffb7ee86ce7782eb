#include "play/Rules.h"

#include "play/Settings.h"

namespace {
// The score table of the game as first built.
constexpr char ClassicHiScoreFile[] = "HISCORE.XML";

std::vector<TRulesSet>& Sets() {
  static std::vector<TRulesSet> sets{{ClassicRules, ClassicHiScoreFile, nullptr}};
  return sets;
}
}  // namespace

const std::vector<TRulesSet>& RulesSets() { return Sets(); }

void RegisterRulesSet(TRulesSet set) {
  for (TRulesSet& known : Sets())
    if (known.Name == set.Name) {
      known = std::move(set);
      return;
    }
  Sets().push_back(std::move(set));
}

const TRulesSet* FindRulesSet(std::string_view name) {
  for (const TRulesSet& set : Sets())
    if (set.Name == name) return &set;
  return nullptr;
}
