#!/bin/sh
# The real binary with SDL's "disk" audio driver, under Xvfb: start a game,
# wait for the BOMB word to fall (wave 1 drops one after 30 s), type it, and
# detonate the bomb with Space. The audio written to disk must not be silent,
# and must get louder when the bomb goes off.
# Usage: sound-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
mkdir -p "$OUT"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null || { echo "xvfb-run or xdotool missing; skipping"; exit 77; }
rm -f "$OUT/audio.raw"

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
"$BIN" &
PID=\$!
sleep 4
xdotool key Return
# The BOMB word comes 30 s into the wave and falls for about 7 s.
sleep 33
for k in b o m b; do xdotool key \$k; sleep 0.1; done
sleep 0.5
ls -l "$OUT/audio.raw" | awk '{ print \$5 }' > "$OUT/before-bomb.txt"
xdotool key space
sleep 1.5
xdotool key Escape
sleep 0.5
# Escape again quits from the menu; if the score asked for a name, it stores
# the name instead, and Space then leaves the table for the menu.
xdotool key Escape
sleep 0.5
xdotool key space
sleep 0.5
xdotool key Escape
for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 \$PID 2>/dev/null || break; sleep 0.5; done
kill -0 \$PID 2>/dev/null && { kill \$PID; echo "still running"; exit 1; }
wait \$PID
echo "exit status \$?"
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
