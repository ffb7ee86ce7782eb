#!/bin/sh
# Accented words typed on real keyboard layouts (Xvfb, setxkbmap, xdotool):
# a German layout (ü and ß keys, é through the dead acute), a French one (é
# and ç keys, ü through the dead diaeresis) and a US one with accents
# "either" (plain u, e, c). Every word starts with the dead-key letter. Each game plays a list whose words are made only
# of those letters, so the score rises only when the letters really arrive.
# Usage: layouts-test.sh GLYPHFALL_BINARY OUTPUT_FOLDER
set -u
BIN="$1"
OUT="$2"
LIB="$(cd "$(dirname "$0")" && pwd)/x11-lib.sh"
mkdir -p "$OUT"
for tool in xvfb-run xdotool import compare setxkbmap; do
  command -v $tool >/dev/null || { echo "$tool missing; skipping"; exit 77; }
done
rm -f "$OUT"/*.png

# Words of three to five letters over an alphabet of three, all starting
# with the first, the letter typed with a dead key: 117 words.
words() {
  for b in "$@"; do for c in "$@"; do
    echo "$1$b$c"
    for d in "$@"; do
      echo "$1$b$c$d"
      for e in "$@"; do echo "$1$b$c$d$e"; done
    done
  done; done
}
# The German and French games take their list from the settings, as the
# options screen leaves it: a list of the player's own, chosen by name.
mkdir -p "$OUT/data/glyphfall/words"
words é ü ß > "$OUT/data/glyphfall/words/de.txt"
words ü é ç > "$OUT/data/glyphfall/words/fr.txt"
for l in de fr; do echo "<settings><Words>$l</Words></settings>" > "$OUT/$l.xml"; done

cat > "$OUT/session.sh" <<EOS
#!/bin/sh
. "$LIB"
play() { # layout, what to play, picture, keys...
  layout=\$1 words=\$2 shot=\$3
  shift 3
  setxkbmap \$layout || { echo "setxkbmap \$layout failed"; exit 1; }
  XDG_DATA_HOME="$OUT/data" "$BIN" \$words /run &
  PID=\$!
  WID=\$(gf_wait_window)
  [ -n "\$WID" ] || { echo "the window never appeared"; kill \$PID; exit 1; }
  timeout 10 xdotool windowfocus --sync "\$WID" 2>/dev/null
  gf_wait_for "\$WID" gf_playfield_shown "$OUT/\$layout-start.png" || { kill \$PID; exit 1; }
  convert "$OUT/\$layout-start.png" -crop "\$(gf_crop "$OUT/\$layout-start.png" 0 14 96 26)" +repage "$OUT/score0.png"
  typing() { xdotool key --delay 40 "\$@"; }
  scored() {
    # Stars twinkle behind the digits: a new digit changes many more pixels.
    convert "\$1" -crop "\$(gf_crop "\$1" 0 14 96 26)" +repage "$OUT/score.png" &&
      gf_above "\$(compare -metric AE -fuzz 25% "$OUT/score0.png" "$OUT/score.png" null: 2>&1)" 40
  }
  KEYS="\$*"
  type_round() { typing \$KEYS; }
  if gf_wait_for "\$WID" scored "$OUT/\$shot" type_round; then
    echo "\$layout: scored"
  else
    echo "\$layout: no score"
  fi
  kill \$PID 2>/dev/null
  wait \$PID 2>/dev/null
}
play de "--settings $OUT/de.xml" de-typed.png udiaeresis ssharp dead_acute e
play fr "--settings $OUT/fr.xml" fr-typed.png eacute ccedilla dead_diaeresis u
play us "--settings $OUT/us.xml --words $OUT/data/glyphfall/words/fr.txt" us-either.png u e c
EOS
chmod +x "$OUT/session.sh"
result=$(LANG=C.UTF-8 SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" "$OUT/session.sh" 2>"$OUT/stderr.txt")
echo "$result"
[ "$(echo "$result" | grep -c ': scored')" = 3 ] || { cat "$OUT/stderr.txt"; exit 1; }
