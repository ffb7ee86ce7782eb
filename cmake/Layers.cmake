# Which folders of src/ may include which; cmake/IncludeGraph.cmake checks the
# includes against it (the test layers.include_graph).
#
# One line a folder: "folder: the folders it may include". Every folder of
# src/ needs its line (the files at the top, main.cpp, webmain.cpp and Game.cpp
# that assembles the form with its additions, are left out;
# platform/sdl, platform/headless and platform/web count as platform).
#   *    every folder of the table
#   hub  the folders of the game's hub (those whose line names "hub") and what
#        the "hub:" line allows them. The original game's units reach their
#        form through a global, so they include one another; include cycles
#        are allowed among them and nowhere else.
set(LAYERS
  "platform:"                                                      # the only code touching SDL, FreeType, pugixml, SQLite; headless and web platforms
  "framework:  platform"                                           # owning lists, switches, numbers, random, clock, stage, game-event seam
  "sprites:    framework platform"                                 # sprite base and lists, score texts, stars
  "sound:      framework platform"                                 # wave files, mixer, sound effects
  "play:       framework platform"                                 # what the game and its additions share: narrow interfaces, settings, rules registry, screen stack
  "replay:     framework platform play sprites"                    # recording and playing back games
  "record:     framework platform play"                            # the typing record: per-game figures and the history
  "rules:      framework platform play words sound sprites dictionary"                  # the rules sets beyond the Classic one (Typist)
  "screens:    framework platform play record replay rules dictionary hiscores sound"   # screens beside the form: results, stats, options, ...
  "hub:        framework platform sprites sound play replay record" # what the hub's folders may include besides one another
  "shell:      hub"                                                # the game form TGlyphfallForm: frame loop, castle, HUD, menu
  "words:      hub"                                                # the falling words and their lists
  "waves:      hub"                                                # the waves: what comes when
  "hiscores:   hub"                                                # high scores and their XML file
  "dictionary: hub"                                                # the word lists to draw from
)
