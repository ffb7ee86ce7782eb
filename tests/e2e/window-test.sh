#!/bin/sh
# The release binary in a real X window (Xvfb) with real key events: wait out
# the title, START with Enter, type at a word, Escape back to the menu, quit
# with Escape. The program must exit with status 0, and the screenshot taken
# during play must show the playfield (castle and ground are not black).
# Usage: window-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
mkdir -p "$OUT"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null || {
  echo "xvfb-run, xdotool or import missing; skipping"; exit 77; }

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
"$BIN" &
PID=\$!
sleep 4.5
xdotool key Return
sleep 2.5
for k in a e i o s t; do xdotool key \$k; sleep 0.05; done
import -window root "$OUT/play.png"
xdotool key Escape
sleep 1
import -window root "$OUT/menu.png"
xdotool key Escape
sleep 0.5
# Had the score asked for a name, Escape stored it: Space leaves the table.
xdotool key space
sleep 0.5
xdotool key Escape
for i in 1 2 3 4 5 6 7 8 9 10; do kill -0 \$PID 2>/dev/null || break; sleep 0.5; done
if kill -0 \$PID 2>/dev/null; then echo "still running after Escape on the menu"; kill \$PID; exit 1; fi
wait \$PID
echo "exit status \$?"
EOS
chmod +x "$OUT/session.sh"
result=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
echo "$result" | grep -q "exit status 0" || { cat "$OUT/stderr.txt"; exit 1; }
# The castle stands at the left of the playfield: its pixels are not black.
mean=$(convert "$OUT/play.png" -crop 60x400+30+200 -colorspace Gray -format "%[fx:mean]" info: 2>/dev/null)
echo "mean brightness of the castle area: $mean"
awk "BEGIN { exit !($mean > 0.1) }" || { echo "the playfield is not on the screen"; exit 1; }
