# Shared by the real-window tests: a private X server, the game started on a staged copy,
# and waits on what the window shows or on the process, never fixed sleeps.
#   . xwindow.sh; stage_game GAME RESOURCES; start_xserver; launch_game [ARGS...]
# Every wait polls until its condition holds or its (generous) limit runs out.

fail() {
  echo "FAIL: $*"
  local log
  for log in "${stage:-/nonexistent}"/*.log; do
    [ -f "$log" ] && sed "s/^/  $(basename "$log" .log): /" "$log"
  done
  exit 1
}

for tool in Xvfb xdotool xdpyinfo xwininfo import convert; do
  command -v $tool >/dev/null || fail "$tool is not installed"
done

# wait_until SECONDS WHAT COMMAND...: runs COMMAND until it succeeds; fails the test with
# "timed out waiting for WHAT" when the limit passes first.
wait_until() {
  local limit=$1 what=$2; shift 2
  local deadline=$(( $(date +%s) + limit ))
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || fail "timed out after ${limit}s waiting for $what"
    sleep 0.1
  done
}

. "$(dirname "${BASH_SOURCE[0]}")/copy_resources.sh"
# A copy of the game and its resources in a fresh folder: $stage.
stage_game() {
  stage=$(mktemp -d)
  cp "$1" "$stage/quindara"
  copy_resources "$2" "$stage/_resources"
}

# Starts Xvfb on a display it picks itself, and waits until it answers. Two servers starting
# at once can pick the same display, and one of them then dies: that one is started again.
start_xserver() {
  local attempt n
  for attempt in 1 2 3 4 5; do
    local fifo=$stage/display.$attempt
    rm -f "$fifo"; mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
    xpid=$!
    n=""
    read -r -t 60 n <"$fifo"
    if [ -n "$n" ] && kill -0 "$xpid" 2>/dev/null && xdpyinfo -display ":$n" >/dev/null 2>&1; then
      export DISPLAY=:$n
      return
    fi
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
  done
  fail "Xvfb did not start"
}

cleanup() {
  [ -n "${gpid:-}" ] && kill -KILL "$gpid" 2>/dev/null
  [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null
  wait 2>/dev/null
  [ -n "${stage:-}" ] && rm -rf "$stage"
}
trap cleanup EXIT

# Starts the staged game from another folder, as a launcher would, and waits for its window.
# The game alone gets the settings in game_env (NAME=VALUE ...).
game_env=()
# On a busy machine a new X server now and then refuses its first client: a game that could
# not open its window there is started again, on a new server, up to three times.
launch_game() {
  local attempt
  for attempt in 1 2 3; do
    ( cd / && unset SDL_VIDEODRIVER SDL12COMPAT_WINDOW_SCALING
      SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null exec env "${game_env[@]}" "$stage/quindara" "$@" ) >"$stage/out.log" 2>&1 &
    gpid=$!
    win=""
    no_screen() { ! kill -0 "$gpid" 2>/dev/null && grep -q 'screen not initialised' "$stage/out.log"; }
    find_window() { no_screen && return 0
                    kill -0 "$gpid" 2>/dev/null || fail "the game ended early"
                    win=$(xdotool search --name '^Quindara' 2>/dev/null | head -1); [ -n "$win" ]; }
    wait_until 60 "the game window" find_window
    [ -n "$win" ] && return
    kill "$xpid" 2>/dev/null; wait "$xpid" 2>/dev/null
    start_xserver
  done
  fail "the game could not open its window"
}

# crop X Y W H: that rectangle of the 320x240 screen as a picture on standard output. The
# window shows the screen $scale times larger, $top pixels down (full screen puts bars above
# and below).
scale=3 top=0
crop() {
  import -silent -window "$win" miff:- 2>/dev/null |
    convert - -crop "$(( $3 * scale ))x$(( $4 * scale ))+$(( $1 * scale ))+$(( $2 * scale + top ))" +repage miff:- 2>/dev/null
}
# window_size: the game window's WIDTHxHEIGHT (the window is found again: full screen may
# give it a new one).
window_size() {
  win=$(xdotool search --name '^Quindara' 2>/dev/null | head -1)
  xwininfo -id "$win" 2>/dev/null | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}'
}
size_is() { [ "$(window_size)" = "$1" ]; }
# said TEXT: the game has written TEXT.
said() { grep -qF "$1" "$stage/out.log"; }
# pixels_like X Y W H COLOUR FUZZ: how many pixels of that rectangle are within FUZZ percent
# of COLOUR.
pixels_like() {
  local n
  n=$(crop "$1" "$2" "$3" "$4" | convert - -fuzz "$6%" -fill black +opaque "$5" -fill white \
        -opaque "$5" -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null)
  echo "${n:-0}"
}
# region_sum X Y W H: a checksum of what that rectangle shows, to see it change.
region_sum() { crop "$@" | convert - rgb:- 2>/dev/null | md5sum | cut -d' ' -f1; }
# note_score, then score_moved: the panel's score shows something else than when noted.
note_score() { score_noted=$(region_sum 272 96 46 26); }
score_moved() { [ "$(region_sum 272 96 46 26)" != "$score_noted" ]; }

# What the window shows.
shows_banner()  { [ "$(pixels_like 150 222 110 14 'rgb(56,117,137)' 12)" -gt 20 ]; }   # " ready...(X or ENTER ..."
shows_attract() { [ "$(pixels_like 103 202 100 14 'rgb(255,0,0)' 10)" -gt 30 ]; }     # "DEPOSIT COIN"
shows_no_coin_text() { [ "$(pixels_like 103 202 100 14 'rgb(255,0,0)' 10)" -eq 0 ]; }
shows_volume_bar() { [ "$(pixels_like 10 217 60 16 'rgb(190,40,10)' 15)" -gt 100 ]; }   # its red bars on the verge

press() { xdotool windowfocus "$win" >/dev/null 2>&1; xdotool "$@"; }

# wait_exit SECONDS: waits for the game to end and sets $status to its exit status.
wait_exit() {
  ended() { ! kill -0 "$gpid" 2>/dev/null; }
  wait_until "$1" "the game to end" ended
  wait "$gpid"; status=$?; gpid=
}

# stored_number OFFSET: a little-endian 32-bit number of the settings file.
stored_number() { od -An -t d4 -j "$1" -N 4 "$stage/_resources/config.dat" | tr -d ' '; }
