#!/bin/sh
# The release binary in a real X window (Xvfb) with real key events: wait for
# the menu, START with Enter, wait for the playfield, type at a word, Escape
# to the results screen and on to the menu, quit with Escape. The program must exit with status 0.
# Every step waits for the screen it needs (tests/e2e/x11-lib.sh), however
# slowly the machine starts the program.
# Usage: window-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
LIB="$(cd "$(dirname "$0")" && pwd)/x11-lib.sh"
mkdir -p "$OUT"
# Each run starts from the default settings, whatever an earlier run saved.
rm -f "$OUT/settings.xml"
. "$LIB"
gf_need_x_tools
rm -f "$OUT"/*.png

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
. "$LIB"
"$BIN" --settings "$OUT/settings.xml" &
PID=\$!
fail() { echo "\$1"; kill \$PID 2>/dev/null; exit 1; }
WID=\$(gf_wait_window)
[ -n "\$WID" ] || fail "the window never appeared"
timeout 10 xdotool windowfocus --sync "\$WID" 2>/dev/null
eval "\$(xdotool getwindowgeometry --shell "\$WID")"
echo "window \$WID at \$X,\$Y, \${WIDTH}x\$HEIGHT"
gf_wait_for "\$WID" gf_menu_shown "$OUT/first-menu.png" || fail "the menu never showed"
xdotool key Return
gf_wait_for "\$WID" gf_playfield_shown "$OUT/play.png" || fail "the playfield is not on the screen"
xdotool key a e i o s t
xdotool key Escape
gf_leave_results "$OUT/results.png" "$OUT/after-results.png" || fail "no results screen after the game"
gf_wait_for "\$WID" gf_menu_shown "$OUT/menu.png" || fail "Escape did not lead back to the menu"
xdotool key Escape
gf_wait_exit \$PID
EOS
chmod +x "$OUT/session.sh"
result=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
echo "$result" | grep -q "exit status 0" || { cat "$OUT/stderr.txt"; exit 1; }
