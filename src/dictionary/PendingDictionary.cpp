// TEMPORARY stand-in until the dictionary lands. Delete this file when
// merging that work.
#include "dictionary/DictionaryUnit.h"

TDictionary::TDictionary() {}
TDictionary::~TDictionary() = default;
