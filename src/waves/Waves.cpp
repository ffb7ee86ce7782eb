// The fourteen waves, as four tables: parameters, bonus drops, special word
// kinds and salvos. A wave class only reads its rows; the engine does the rest.
#include <array>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/GlyphfallUnit.h"
#include "waves/WaveUnit.h"
#include "words/WordUnit.h"

namespace {

// Word kinds are named by their ClassRef function: the descriptors are built
// on first use, so the tables can hold plain function pointers.
using TKindRef = const TWordKind& (*)();

struct TWaveParams {
  std::array<int32_t, 4> TierLimits;
  int32_t MaxWords;
  int32_t VerticalChance;
  int32_t HiddenLetterChance;
  int32_t Stage0Words;
};

struct TBonusRow {
  TKindRef Kind;
  int32_t Interval;
};

struct TTypeRow {
  TKindRef Kind;
  int32_t Chance;
};

struct TSalvoRow {
  std::vector<std::string> Words;
  TKindRef Kind;
  int32_t Count;
  int32_t MaxWords;
};

// Wave:                       T1  T2  T3   T4   MaxWords Vertical Hidden Stage0
const std::array<TWaveParams, WaveCount> Params = {{
    /*  1 */ {{20, 80, 100, 0}, 1, 0, 0, 10},
    /*  2 */ {{20, 40, 71, 100}, 2, 0, 0, 20},
    /*  3 */ {{20, 40, 71, 100}, 3, 15, 10, 40},
    /*  4 */ {{0, 0, 0, 100}, 3, 20, 10, 50},
    /*  5 */ {{10, 20, 40, 100}, 4, 20, 15, 70},
    /*  6 */ {{60, 70, 80, 100}, 10, 20, 15, 100},
    /*  7 */ {{60, 70, 80, 100}, 10, 0, 0, 50},
    /*  8 */ {{60, 70, 80, 100}, 10, 20, 0, 50},
    /*  9 */ {{10, 20, 40, 100}, 10, 20, 15, 100},
    /* 10 */ {{0, 0, 0, 100}, 4, 20, 1, 100},
    /* 11 */ {{0, 0, 0, 100}, 6, 0, 10, 100},
    /* 12 */ {{0, 0, 0, 100}, 15, 20, 10, 100},
    /* 13 */ {{60, 70, 80, 100}, 10, 20, 0, 60},
    /* 14 */ {{60, 70, 80, 100}, 20, 20, 0, 60},
}};

constexpr TKindRef Brick = &TBrickWord::ClassRef;
constexpr TKindRef Castle = &TCastleWord::ClassRef;
constexpr TKindRef Bomb = &TBombWord::ClassRef;
constexpr TKindRef SlowDown = &TSlowDownWord::ClassRef;
constexpr TKindRef Retreat = &TRetreatWord::ClassRef;
constexpr TKindRef Plain = &TSpriteWord::ClassRef;
constexpr TKindRef Cannon = &TCannonWord::ClassRef;
constexpr TKindRef SpeedUp = &TSpeedUpWord::ClassRef;
constexpr TKindRef Flash = &TFlashWord::ClassRef;
constexpr TKindRef Big = &TBigWord::ClassRef;
constexpr TKindRef Shielded = &TShieldedWord::ClassRef;

// In list order, which is the order the entries are tried each frame.
const std::array<std::vector<TBonusRow>, WaveCount> BonusTable = {{
    /*  1 */ {{Brick, 10000}, {Bomb, 30000}},
    /*  2 */ {{Brick, 10000}, {Retreat, 35000}, {Bomb, 30000}, {SlowDown, 38000}},
    /*  3 */ {{Brick, 10000}, {Bomb, 30000}, {Retreat, 35000}, {SlowDown, 38000}},
    /*  4 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}},
    /*  5 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}, {SlowDown, 30000}},
    /*  6 */ {{Brick, 10000}, {Retreat, 21000}, {Bomb, 20000}, {Castle, 11000}, {SlowDown, 5000}},
    /*  7 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 20000}, {Castle, 10000}, {SlowDown, 5000}},
    /*  8 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 20000}, {Castle, 10000}, {SlowDown, 5000}},
    /*  9 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}, {SlowDown, 30000}},
    /* 10 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}, {SlowDown, 30000}},
    /* 11 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}, {SlowDown, 30000}},
    /* 12 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 30000}, {Castle, 30000}, {SlowDown, 30000}},
    /* 13 */ {{Brick, 10000}, {Retreat, 20000}, {Bomb, 21000}, {Castle, 11000}, {SlowDown, 5000}},
    /* 14 */ {{Castle, 5000}},
}};

// Each kind is taken with probability 1 in its chance when tried.
const std::array<std::vector<TTypeRow>, WaveCount> TypeTable = {{
    /*  1 */ {},
    /*  2 */ {{Flash, 20}, {Cannon, 15}, {Big, 15}},
    /*  3 */ {{SpeedUp, 5}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}, {Big, 15}},
    /*  4 */ {{SpeedUp, 10}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}, {Big, 15}},
    /*  5 */ {{SpeedUp, 10}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}, {Big, 10}},
    /*  6 */ {{SpeedUp, 1}},
    /*  7 */ {{Shielded, 1}},
    /*  8 */ {{Cannon, 1}},
    /*  9 */ {{SpeedUp, 10}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}, {Big, 8}},
    /* 10 */ {{SpeedUp, 10}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}, {Big, 10}},
    /* 11 */ {{Big, 10}},
    /* 12 */ {{SpeedUp, 4}, {Flash, 20}, {Cannon, 15}, {Shielded, 15}},
    /* 13 */ {{Cannon, 1}, {Flash, 11}},
    /* 14 */ {{Cannon, 1}, {SpeedUp, 1}},
}};

// "A" .. "Z", each letter repeated `times` times.
std::vector<std::string> Alphabet(size_t times) {
  std::vector<std::string> words;
  for (char c = 'A'; c <= 'Z'; ++c) words.emplace_back(times, c);
  return words;
}

// Words, class, how many are released, MaxWords from then on.
const std::array<TSalvoRow, WaveCount>& SalvoTable() {
  static const std::array<TSalvoRow, WaveCount> table = {{
      /*  1 */ {{"A"}, Plain, 64, 8},
      /*  2 */ {{"ATTACK"}, Plain, 16, 8},
      /*  3 */ {{"BOMB", "FIRE"}, Plain, 24, 12},
      /*  4 */ {{"KILL", "BURN", "BREAK"}, Plain, 36, 12},
      /*  5 */ {{"A", "B", "C"}, Plain, 42, 14},
      /*  6 */ {{"BULLET", "LASER", "DESTROY"}, Plain, 42, 14},
      /*  7 */ {{"X", "Y", "Z"}, Plain, 60, 20},
      /*  8 */ {{"STONE", "SHIELD", "FENCE"}, Plain, 60, 20},
      /*  9 */ {Alphabet(1), Plain, 80, 20},
      /* 10 */ {Alphabet(4), Plain, 100, 20},
      /* 11 */ {{"DIFFICULT", "COMPLICATED"}, Plain, 80, 20},
      /* 12 */ {{"KABOOM", "ZAP", "BANG", "BOOM", "CRASH", "POW"}, Plain, 80, 20},
      /* 13 */ {{"ABC", "XYZ", "POW"}, Cannon, 60, 20},
      /* 14 */ {{"ABC", "XYZ", "POW"}, Cannon, 60, 20},
  }};
  return table;
}

template <int N>
class TWaveKindOf : public TWaveKind {
 public:
  int Number() const override { return N; }
  std::unique_ptr<TWave> Create() const override { return std::make_unique<TWaveOf<N>>(); }
};

template <int... N>
const std::array<const TWaveKind*, WaveCount>& MakeWaveClasses(std::integer_sequence<int, N...>) {
  static const std::tuple<TWaveKindOf<N + 1>...> kinds;
  static const std::array<const TWaveKind*, WaveCount> classes = {&std::get<N>(kinds)...};
  return classes;
}

}  // namespace

template <int N>
TWaveOf<N>::TWaveOf() {
  const TWaveParams& p = Params[N - 1];
  SetTierLimits(p.TierLimits[0], p.TierLimits[1], p.TierLimits[2], p.TierLimits[3]);
  MaxWords = p.MaxWords;
  VerticalChance = p.VerticalChance;
  HiddenLetterChance = p.HiddenLetterChance;
  for (const TBonusRow& row : BonusTable[N - 1]) Bonuses.Add(std::make_unique<TBonus>(&row.Kind(), row.Interval));
  for (const TTypeRow& row : TypeTable[N - 1]) WordTypes.Add(std::make_unique<TWordType>(&row.Kind(), row.Chance));
}

template <int N>
void TWaveOf<N>::StageSetup() {
  switch (Stage) {
    case 0: SetWordsLeft(Params[N - 1].Stage0Words); break;
    case 1: {
      const TSalvoRow& salvo = SalvoTable()[N - 1];
      StartSalvo(salvo.Words, &salvo.Kind(), salvo.Count, salvo.MaxWords);
      break;
    }
    default: break;  // past the salvo: WordsLeft stays 0 and the wave is over
  }
}

template class TWaveOf<1>;
template class TWaveOf<2>;
template class TWaveOf<3>;
template class TWaveOf<4>;
template class TWaveOf<5>;
template class TWaveOf<6>;
template class TWaveOf<7>;
template class TWaveOf<8>;
template class TWaveOf<9>;
template class TWaveOf<10>;
template class TWaveOf<11>;
template class TWaveOf<12>;
template class TWaveOf<13>;
template class TWaveOf<14>;

const TWaveKind* WaveClass(int n) {
  if (n < 1 || n > WaveCount) return nullptr;
  return MakeWaveClasses(std::make_integer_sequence<int, WaveCount>{})[static_cast<size_t>(n - 1)];
}
