// The table itself and name entry.
#include "hiscores/HiScoreUnit.h"

#include <limits>

#include "framework/Utils.h"
#include "platform/Platform.h"
#include "shell/GlyphfallUnit.h"

namespace {

// The typed part of a name being entered: everything before the first dash.
std::string TypedPart(const std::string& name) { return name.substr(0, name.find('-')); }

std::string PaddedName(std::string typed) {
  typed.resize(HiScoreNameLength, '-');
  return typed;
}

}  // namespace

bool IsNameKey(uint16_t key) { return (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'); }

bool ParseScore(std::string_view text, int32_t& value) {
  size_t b = 0, e = text.size();
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (b < e && blank(text[b])) ++b;
  while (e > b && blank(text[e - 1])) --e;
  bool negative = false;
  if (b < e && (text[b] == '+' || text[b] == '-')) negative = text[b++] == '-';
  if (b == e) return false;
  // Accumulate the magnitude in 64 bits and stop as soon as it cannot fit.
  const int64_t limit =
      negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min()) : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (size_t i = b; i < e; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) return false;
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return true;
}

std::string CleanName(std::string_view text) {
  std::string name;
  for (char ch : Trim(text)) {
    if (name.size() == HiScoreNameLength) break;
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 0x80 && c < 0xC0) continue;  // the rest of a multi-byte character
    name += (c >= ' ' && c < 0x7F) ? ch : '?';
  }
  return name;
}

int THiScoreList::QualifyingRow(int32_t score) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Score <= score) return i;
  return -1;
}

int THiScoreList::InsertScore(int32_t score, const std::string& name) {
  int row = QualifyingRow(score);
  if (row < 0) return -1;
  Delete(LastIndex());
  auto* entry = new THiScore(score, name);
  entry->Unsaved = true;
  Insert(row, entry);
  return row;
}

void THiScoreList::CheckNewScore(int32_t score, const std::string& replay) {
  int row = InsertScore(score, HiScoreEmptyName);
  if (row < 0) return;
  Items(row)->Replay = replay;
  ShowHiScores(row);
}

void THiScoreList::NameEntryKey(uint16_t key) {
  if (EntryRow < 0 || EntryRow >= Count()) {
    // Only showing the table: any key ends the screen.
    if (GlyphfallForm) GlyphfallForm->MenuActive = true;
    return;
  }
  THiScore* entry = Items(EntryRow);
  std::string typed = TypedPart(entry->Name);
  if (IsNameKey(key)) {
    typed += static_cast<char>(key);
  } else if (key == vk::Back || key == vk::Delete) {
    if (!typed.empty()) typed.pop_back();
  } else if (key == vk::Return || key == vk::Escape) {
    // Escape keeps the name too; there is nothing to go back to.
    CommitEntry();
    return;
  } else {
    return;
  }
  entry->Name = PaddedName(typed);
}

void THiScoreList::CommitEntry() {
  if (EntryRow < 0) return;
  if (EntryRow < Count()) Items(EntryRow)->Name = TypedPart(Items(EntryRow)->Name);
  EntryRow = -1;
  SaveHiScores();
}
