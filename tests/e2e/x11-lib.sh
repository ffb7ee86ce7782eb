# Shell helpers for the real-window tests, sourced inside the X session. They
# wait for what a test needs (the window, a screen) and never guess how long
# it takes: each wait polls until its condition holds or its deadline passes.
# Regions are given in playfield pixels (800 x 600) and found in the window
# whatever its size, the playfield scaled into it and centred.

GF_DEADLINE=${GF_DEADLINE:-120}  # seconds any one wait may take

# Outside the session: a machine without the X tools skips the test (77).
gf_need_x_tools() {
  for tool in xvfb-run xdotool import "$@"; do
    command -v "$tool" >/dev/null || { echo "$tool missing; skipping"; exit 77; }
  done
}

# The game's window once it is mapped; its id is printed.
gf_wait_window() {
  timeout "$GF_DEADLINE" xdotool search --sync --onlyvisible --name '^Glyphfall' 2>/dev/null | head -n 1
}

# Captures window $1 into file $2.
gf_capture() { import -window "$1" "$2" 2>/dev/null; }

# The ImageMagick crop geometry in capture $1 of playfield region X Y W H.
gf_crop() {
  size=$(identify -format '%w %h' "$1" 2>/dev/null) || return 1
  echo "$size $2 $3 $4 $5" | awk '{
    s = $1 / 800; if ($2 / 600 < s) s = $2 / 600
    ox = ($1 - 800 * s) / 2; oy = ($2 - 600 * s) / 2
    printf "%dx%d+%d+%d\n", $5 * s + 0.5, $6 * s + 0.5, ox + $3 * s, oy + $4 * s }'
}

# Mean brightness (0 .. 1) of a playfield region of capture $1.
gf_brightness() {
  convert "$1" -crop "$(gf_crop "$@")" +repage -colorspace Gray -format '%[fx:mean]' info: 2>/dev/null
}

# Share (0 .. 1) of pure red pixels in a playfield region of capture $1.
gf_redness() {
  convert "$1" -crop "$(gf_crop "$@")" +repage -fx 'r > 0.7 && g < 0.3 && b < 0.3' -format '%[fx:mean]' info: \
    2>/dev/null
}

# True when number $1 is above $2.
gf_above() { awk -v a="${1:-0}" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# What the screens show, judged on capture $1.
gf_playfield_shown() { gf_above "$(gf_brightness "$1" 0 116 60 400)" 0.1; } # the castle
gf_menu_shown() { gf_above "$(gf_redness "$1" 300 80 200 45)" 0.05 && ! gf_playfield_shown "$1"; } # START, red
gf_results_shown() { gf_above "$(gf_brightness "$1" 150 160 500 130)" 0.2; } # the keyboard picture
gf_bomb_held() { gf_above "$(gf_brightness "$1" 302 27 18 18)" 0.05; } # a bomb on the display

# Polls window $1 until test $2 holds on a capture, kept as file $3. While it
# waits, command $4 (optional) runs after each look. False at the deadline.
gf_wait_for() {
  end=$(($(date +%s) + GF_DEADLINE))
  while [ "$(date +%s)" -lt "$end" ]; do
    if gf_capture "$1" "$3" && "$2" "$3"; then return 0; fi
    [ -n "${4:-}" ] && $4
    sleep 0.2
  done
  echo "gave up waiting for $2 after $GF_DEADLINE s" >&2
  return 1
}

# After a game: waits for the results screen, then presses space until it
# has gone (it takes no key in its first second). Captures go to $1 and $2.
gf_leave_results() {
  gf_wait_for "$WID" gf_results_shown "$1" || return 1
  gf_wait_for "$WID" gf_results_gone "$2" gf_press_space
}
gf_results_gone() { ! gf_results_shown "$1"; }
gf_press_space() { xdotool key space; }

# Waits for process $1 to end and prints its exit status; kills it and fails
# at the deadline.
gf_wait_exit() {
  end=$(($(date +%s) + GF_DEADLINE))
  while kill -0 "$1" 2>/dev/null; do
    if [ "$(date +%s)" -ge "$end" ]; then
      echo "still running after $GF_DEADLINE s" >&2
      kill "$1"
      return 1
    fi
    sleep 0.2
  done
  wait "$1"
  echo "exit status $?"
}

# For a game just started: waits for its window, the menu (kept as
# $1/menu.png) and, after Enter, the playfield ($1/play.png); prints the
# window's id. False, with the reason on stderr, when a step never comes.
gf_start_game() {
  wid=$(gf_wait_window)
  [ -n "$wid" ] || { echo "the window never appeared" >&2; return 1; }
  timeout 10 xdotool windowfocus --sync "$wid" 2>/dev/null
  gf_wait_for "$wid" gf_menu_shown "$1/menu.png" || { echo "the menu never showed" >&2; return 1; }
  xdotool key Return
  gf_wait_for "$wid" gf_playfield_shown "$1/play.png" || { echo "the playfield is not on the screen" >&2; return 1; }
  echo "$wid"
}
