#!/bin/sh
# The real binary with SDL's "disk" audio driver, under Xvfb: start a game,
# type the BOMB word whenever it falls (wave 1 drops one 30 s in), and
# detonate the bomb with Space. The audio written to disk must not be silent,
# and must get louder when the bomb goes off. Every step waits for what it
# needs (tests/e2e/x11-lib.sh) rather than for a guessed time.
# Usage: sound-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
LIB="$(cd "$(dirname "$0")" && pwd)/x11-lib.sh"
mkdir -p "$OUT"
# Each run starts from the default settings, whatever an earlier run saved.
rm -f "$OUT/settings.xml"
. "$LIB"
gf_need_x_tools
rm -f "$OUT/audio.raw" "$OUT"/*.png "$OUT/before-bomb.txt"

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
. "$LIB"
"$BIN" --settings "$OUT/settings.xml" &
PID=\$!
fail() { echo "\$1"; kill \$PID 2>/dev/null; exit 1; }
audio_bytes() { stat -c %s "$OUT/audio.raw" 2>/dev/null || echo 0; }
type_bomb() { xdotool key b o m b; }
bomb_gone() { ! gf_bomb_held "\$1"; }
WID=\$(gf_wait_window)
[ -n "\$WID" ] || fail "the window never appeared"
timeout 10 xdotool windowfocus --sync "\$WID" 2>/dev/null
gf_wait_for "\$WID" gf_menu_shown "$OUT/menu.png" || fail "the menu never showed"
xdotool key Return
gf_wait_for "\$WID" gf_playfield_shown "$OUT/play.png" || fail "the game did not start"
# Its letters over and over, until the BOMB word has fallen and been typed.
gf_wait_for "\$WID" gf_bomb_held "$OUT/bomb-held.png" type_bomb || fail "no bomb was earned"
before=\$(audio_bytes)
echo \$before > "$OUT/before-bomb.txt"
xdotool key space
gf_wait_for "\$WID" bomb_gone "$OUT/bomb-used.png" || fail "the bomb did not go off"
# A second of 16-bit stereo after the bomb, at any common rate.
end=\$((\$(date +%s) + GF_DEADLINE))
while [ \$(audio_bytes) -lt \$((before + 192000)) ]; do
  [ \$(date +%s) -lt \$end ] || fail "no audio was written after the bomb"
  sleep 0.2
done
# Escape ends the game; the results screen follows, and space leaves it.
# Escape on the menu ends the program. A score that asks for a
# name takes the first Escape as its end instead; Space then leaves the table
# and the last Escape quits. Keys the program no longer sees do nothing.
xdotool key Escape
gf_leave_results "$OUT/results.png" "$OUT/after-results.png" || fail "no results screen after the game"
xdotool key Escape space Escape
gf_wait_exit \$PID
EOS
chmod +x "$OUT/session.sh"
result=$(SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$OUT/audio.raw" xvfb-run -a -s "-screen 0 1024x768x24" \
  "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
echo "$result" | grep -q "exit status 0" || { cat "$OUT/stderr.txt"; exit 1; }
[ -s "$OUT/audio.raw" ] || { echo "no audio was written"; exit 1; }
# The device writes 16-bit stereo samples; look for the loudest one overall
# and after the bomb.
od -An -v -t d2 -w2 "$OUT/audio.raw" | awk -v from="$(cat "$OUT/before-bomb.txt")" '
  { v = $1 < 0 ? -$1 : $1; if (v > peak) peak = v; if (NR * 2 > from && v > bomb) bomb = v }
  END {
    printf "peak sample %d, after the bomb %d\n", peak, bomb
    exit !(peak > 1000 && bomb > 1000)
  }'
