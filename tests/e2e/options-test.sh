#!/bin/sh
# The OPTIONS screen in a real X window (Xvfb) with real key events: change
# every setting, leave (which saves settings.xml), quit; start again with the
# same file and the screen must show the same values, the window fullscreen.
# An 800 x 600 screen, so that sharp and pixel-exact scaling place the
# playfield alike and the screens are found in both.
# The program only ever sees this test's own settings file.
# Usage: options-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
LIB="$(cd "$(dirname "$0")" && pwd)/x11-lib.sh"
mkdir -p "$OUT"
. "$LIB"
gf_need_x_tools
rm -f "$OUT"/*.png "$OUT/settings.xml"

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
. "$LIB"
# The OPTIONS title, red, where the menu has nothing.
gf_options_shown() { gf_above "\$(gf_redness "\$1" 330 40 140 25)" 0.05; }
# The menu again, OPTIONS still chosen (red).
gf_menu_on_options() { gf_above "\$(gf_redness "\$1" 300 380 200 45)" 0.05; }
# Starts the game, opens OPTIONS from the menu; prints the window id.
open_options() {
  "$BIN" --settings "$OUT/settings.xml" &
  PID=\$!
  WID=\$(gf_wait_window)
  [ -n "\$WID" ] || { echo "the window never appeared"; return 1; }
  timeout 10 xdotool windowfocus --sync "\$WID" 2>/dev/null
  gf_wait_for "\$WID" gf_menu_shown "$OUT/menu-\$1.png" || { echo "the menu never showed"; return 1; }
  xdotool key Down Down Down Return
  gf_wait_for "\$WID" gf_options_shown "$OUT/options-\$1.png" || { echo "OPTIONS never showed"; return 1; }
}
fail() { echo "\$1"; kill \$PID 2>/dev/null; exit 1; }

open_options first || fail "first run"
# Rules, start wave, speed, (words, accents), volume down, fullscreen, scaling, WPM, colours.
xdotool key Right Down Right Down Right Down Down Down Left Down Right Down Right Down Right Down Right
# Round past BACK to Rules, where the next visit begins, for the comparison.
xdotool key Down Down
sleep 1
gf_wait_for "\$WID" gf_options_shown "$OUT/options-changed.png" || fail "OPTIONS went away"
xdotool key Escape
gf_wait_for "\$WID" gf_menu_on_options "$OUT/menu-back.png" || fail "Escape did not lead back to the menu"
xdotool key Escape
gf_wait_exit \$PID

open_options second || fail "second run"
sleep 1
gf_capture "\$WID" "$OUT/options-restarted.png"
eval "\$(xdotool getwindowgeometry --shell "\$WID")"
echo "restarted window \${WIDTH}x\$HEIGHT"
xdotool key Escape
gf_wait_for "\$WID" gf_menu_on_options "$OUT/menu-end.png" || fail "no menu after the second OPTIONS"
xdotool key Escape
gf_wait_exit \$PID
# The value column of both screens, its green text only (the stars are
# other colours, though a passing star may light a stray pixel; a changed value
# moves dozens): at most 4 pixels may differ.
for f in changed restarted; do
  convert "$OUT/options-\$f.png" -crop "\$(gf_crop "$OUT/options-\$f.png" 540 80 130 400)" +repage \
    -fx 'r < 0.05 && b < 0.05 && g > 0.6' "$OUT/values-\$f.png"
done
lit=\$(convert "$OUT/values-changed.png" -format '%[fx:round(mean*w*h)]' info:)
diff=\$(compare -metric AE "$OUT/values-changed.png" "$OUT/values-restarted.png" null: 2>&1)
echo "values: \$lit pixels lit, \$diff differ"
EOS
chmod +x "$OUT/session.sh"
result=$(SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 800x600x24" "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
fails=0
for want in "exit status 0" "restarted window 800x600"; do
  [ "$(echo "$result" | grep -c "$want")" -ge 1 ] || { echo "missing: $want"; fails=1; }
done
[ "$(echo "$result" | grep -c "exit status 0")" -eq 2 ] || { echo "both runs must exit with status 0"; fails=1; }
for want in "<Rules>Typist</Rules>" "<StartWave>2</StartWave>" "<WordSpeed>125</WordSpeed>" "<Volume>90</Volume>" \
    "<Fullscreen>on</Fullscreen>" "<Scaling>pixel-exact</Scaling>" "<LiveWpm>on</LiveWpm>" \
    "<Colours>high contrast</Colours>"; do
  grep -q "$want" "$OUT/settings.xml" || { echo "settings.xml lacks $want"; fails=1; }
done
echo "$result" | grep -Eq "^values: [0-9]{3,} pixels lit, [0-4] differ$" || { echo "the restarted screen shows other values"; fails=1; }
[ $fails -eq 0 ] || { cat "$OUT/stderr.txt"; exit 1; }
