// The word dictionary: the pool every ordinary attacking word is drawn from,
// loaded once from the word list beside the program.
#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ObjectList.h"
#include "words/WordUnit.h"

// The word list file, looked for in the current folder (the program's own).
inline constexpr const char* DictionaryFileName = "wordsenglish.txt";

// A file that cannot be opened or read. The message names the file and gives
// the system's reason.
class EFOpenError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Entries keep the order they were accepted in: the file's lines, then the
// single letters A..Z not already present. No two entries are equal ignoring
// letter case, and every entry is one or more ASCII letters.
//
// The word file is untrusted. Besides the acceptance rule of AddWord, the
// loader reads at most MaxFileBytes of it, rejects lines longer than
// MaxWordLength characters without building them up in memory, and keeps at
// most MaxFileWords words from it; whatever lies beyond is ignored. A real
// word list is far inside every one of these limits.
class TDictionary : public TCustomObjectList<TWord> {
 public:
  static constexpr size_t MaxFileBytes = 64u << 20;
  static constexpr size_t MaxWordLength = 64;
  static constexpr int MaxFileWords = 250000;

  // Loads DictionaryFileName; throws EFOpenError when it cannot be read.
  TDictionary();
  // Loads the given file; throws EFOpenError when it cannot be read.
  explicit TDictionary(const std::string& fileName);
  ~TDictionary() override = default;

  // True when an entry equals text ignoring ASCII letter case; both sides are
  // trimmed of blanks and control characters first.
  bool Contains(std::string_view text) const;
  // Appends text when it is non-empty, not yet present and letters only;
  // otherwise does nothing. Returns whether it was added.
  bool AddWord(std::string_view text);
  // A uniformly chosen entry (Random(Count)), still owned by the dictionary;
  // never null, since the single letters are always there.
  TWord* RandomWord() const;

 private:
  void LoadFromFile(const std::string& fileName);
  static bool IsWordText(std::string_view text);
  // Adds text, already known to be letters only, unless it is present.
  bool AddHashed(std::string_view text, size_t hash);
  void AddSingleLetters();

  // The duplicate test: an open-addressed table of entry indices, hashed by
  // the lower-cased text, compared without regard to case. No key strings
  // and no nodes: a large list loads about as fast as its lines can be read.
  int FindIndex(std::string_view text, size_t hash) const;
  void InsertIndex(int index, size_t hash);
  void Grow();
  struct TSlot {
    int32_t Index = -1;  // -1: empty
    uint32_t Tag = 0;    // the upper half of the entry's hash
  };
  static uint32_t TagOf(size_t hash) { return static_cast<uint32_t>(static_cast<uint64_t>(hash) >> 32); }
  std::vector<TSlot> slots_;
};
