// TEMPORARY stand-ins until the high-score table lands. Delete this file
// when merging that work.
#include "hiscores/HiScoreUnit.h"
#include "hiscores/XMLUnit.h"
#include "shell/GlyphfallUnit.h"

std::string DefaultXMLFolder = "XML/";
void THiScoreList::CheckNewScore(int32_t) {}
void THiScoreList::ShowHiScores(int32_t) { GlyphfallForm->MenuActive = true; }
void THiScoreList::NameEntryKey(uint16_t) { GlyphfallForm->MenuActive = true; }
void THiScoreList::LoadHiScores() {}
