// The pool of words attacking words are drawn from, loaded from
// wordsenglish.txt in the program's folder.
#pragma once
#include <string>

#include "framework/ObjectList.h"
#include "words/WordUnit.h"

class TDictionary : public TCustomObjectList<TWord> {
 public:
  // Loads wordsenglish.txt from the current directory; raises
  // std::runtime_error naming the file and the reason when it cannot be read.
  TDictionary();
  explicit TDictionary(const std::string& fileName);
  ~TDictionary() override;

  bool Contains(const std::string& text) const;
  void AddWord(const std::string& text);
  TWord* RandomWord() const;
};
