#!/bin/sh
# A game played in the real window (Xvfb, real key events) is kept as a
# replay, and the simulator plays that replay again to the same score, waves
# and bricks (--verify): the frame times of a real run reproduce its result.
# One game under the Classic rules, one under the Typist rules.
# The game runs from a copy in a folder of its own, so its replays and scores
# go there. Usage: replay-window-test.sh GLYPHFALL SIM BUILD_FOLDER OUTPUT_FOLDER
set -u
BIN="$1"
SIM="$2"
DATA="$3"
OUT="$4"
LIB="$(cd "$(dirname "$0")" && pwd)/x11-lib.sh"
. "$LIB"
gf_need_x_tools
rm -rf "$OUT"
mkdir -p "$OUT/game"
cp "$BIN" "$DATA/wordsenglish.txt" "$OUT/game/"
[ -d "$DATA/wave" ] && cp -r "$DATA/wave" "$OUT/game/"
GAME="$OUT/game/$(basename "$BIN")"
# Score tables no ten-second game can enter, so the session always goes from
# the results to the menu: how much the typing scores depends on the machine's
# speed, and a score of 100 would ask for a name.
table="<root>"
for rank in 1 2 3 4 5 6 7 8 9 10; do
  table="$table<RANK$rank><NAME>--------</NAME><SCORE>$((1100000 - rank * 100000))</SCORE></RANK$rank>"
done
echo "$table</root>" > "$OUT/game/HISCORE.XML"
cp "$OUT/game/HISCORE.XML" "$OUT/game/HISCORE-TYPIST.XML"

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
. "$LIB"
"$GAME" "\$@" &
PID=\$!
WID=\$(gf_start_game "$OUT") || { kill \$PID 2>/dev/null; exit 1; }
# Ten seconds of typing, a pause, and more: whatever the keys hit, the replay
# must hit the same.
for round in 1 2 3 4 5; do
  xdotool type --delay 90 "etaoinshrdlucmfwypvbgkjqxz"
  [ \$round = 3 ] && { xdotool key F10; sleep 1; xdotool key F10; }
done
xdotool key Escape
gf_leave_results "$OUT/results.png" "$OUT/after-results.png" || { echo "no results screen after the game"; kill \$PID; exit 1; }
gf_wait_for "\$WID" gf_menu_shown "$OUT/menu-after.png" || { echo "Escape did not lead back to the menu"; kill \$PID; exit 1; }
xdotool key Escape
gf_wait_exit \$PID
EOS
chmod +x "$OUT/session.sh"
# No settings of the player's own: Classic unless the file says Typist.
export XDG_CONFIG_HOME="$OUT/config"
echo "<settings><Rules>Typist</Rules></settings>" > "$OUT/typist.xml"
for rules in Classic Typist; do
  args=""
  [ $rules = Typist ] && args="--settings $OUT/typist.xml"
  result=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" "$OUT/session.sh" $args 2>"$OUT/stderr.txt")
  echo "$rules: $result"
  echo "$result" | grep -q "exit status 0" || { cat "$OUT/stderr.txt"; exit 1; }
  replay=$(ls "$OUT"/game/replays/*.gfr 2>/dev/null | tail -n 1)
  [ -f "$replay" ] || { echo "no replay was kept"; exit 1; }
  grep -q "$rules" "$replay" || { echo "$replay was not played under the $rules rules"; exit 1; }
  echo "replay $(basename "$replay"): $(wc -c < "$replay") bytes"
  "$SIM" --home "$OUT/game" --replay "$replay" --verify || { echo "the $rules replay does not verify"; exit 1; }
done
