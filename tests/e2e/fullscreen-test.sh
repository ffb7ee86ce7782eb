#!/bin/sh
# The release binary on a 1920x1080 Xvfb screen, fullscreen (F11) during a
# game: the picture must fill the screen's height, 1440x1080 in the middle,
# the castle's left edge at x = 240, the ground down to the last line, black
# bars left and right. Waits for that screen (up to 30 s), then quits.
# Usage: fullscreen-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
mkdir -p "$OUT"
# Each run starts from the default settings: F11 is saved now, and a run
# left in fullscreen must not start the next one there.
rm -f "$OUT/settings.xml"
command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && command -v import >/dev/null || {
  echo "xvfb-run, xdotool or import missing; skipping"; exit 77; }

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
"$BIN" /run --settings "$OUT/settings.xml" &
PID=\$!
timeout 30 xdotool search --sync --onlyvisible --name "Glyphfall" >/dev/null
xdotool key F11
# 1 where a screen pixel is lit, 0 where it is black.
lit() { convert "$OUT/screen.png" -crop "1x1+\$1+\$2" -format "%[fx:r+g+b > 0.05 ? 1 : 0]" info:; }
ok=no
for i in \$(seq 60); do
  import -window root "$OUT/screen.png"
  if [ "\$(lit 239 700)\$(lit 240 700)\$(lit 600 1079)\$(lit 1680 1079)\$(lit 1679 1079)" = "01101" ]; then ok=yes; break; fi
  sleep 0.5
done
kill \$PID
wait \$PID 2>/dev/null
echo "fullscreen picture: \$ok"
EOS
chmod +x "$OUT/session.sh"
result=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1920x1080x24" "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
echo "$result" | grep -q "fullscreen picture: yes" || { cat "$OUT/stderr.txt"; exit 1; }
