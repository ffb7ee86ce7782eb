// The revision of play's rules: what a game does with given seed, clock
// steps and input. Bump RulesRevision whenever play changes (the words
// dealt, their pace, scoring, the waves...), so that a replay made before
// the change is refused rather than played wrong; tests/replay/
// RulesRevisionTest.cpp then wants the new play-through hashes recorded.
#pragma once
#include <string>

inline constexpr int RulesRevision = 1;

// Empty when a game of the given revision plays here as it was played;
// otherwise why not, in a sentence.
inline std::string RevisionRefusal(int revision) {
  if (revision == RulesRevision) return std::string();
  return "it was recorded by another version of the game's rules (revision " + std::to_string(revision) +
         "; this game plays revision " + std::to_string(RulesRevision) + ")";
}
