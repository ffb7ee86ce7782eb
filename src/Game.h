// The game assembled: the form as first built, and beside it the session
// with everything added to it. The one place that names each addition.
#pragma once
#include <string_view>

#include "shell/GlyphfallUnit.h"
#include "shell/Session.h"

class TGame {
 public:
  explicit TGame(TPlatform& platform);
  void Run() { Form.Run(); }

 private:
  // Before the form and the session: the rules sets they load tables for.
  struct TRegistered {
    TRegistered();
  } registered_;

 public:
  TGlyphfallForm Form;
  TSession Session;
};

// Registers every rules set beyond the Classic one (done by TGame too; a
// second call changes nothing).
void RegisterRulesSets();

// The screen on show, for reports and tests: "title", "menu", "play",
// "hiscores", "ended", or an added screen's name ("results", "stats",
// "options").
std::string_view ShowingScreen(const TGlyphfallForm& form);
