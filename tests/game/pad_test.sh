#!/usr/bin/env bash
# A whole run on a pad in the real executable, as a player plays it: a game controller
# plugged in after start-up (Start passes the banner and starts the run, the left stick and
# A drive, Back quits), or a wheel that is no game controller, read by the joystick's own
# button numbers (8, 0, 9). The high score is saved, and the recorded run checks frame for
# frame with no pad.
#   pad_test.sh GAME RESOURCES_DIR PAD_DRIVER KIND    (KIND: controller or wheel)
set -u
. "$(dirname "$0")/xwindow.sh"
driver=$3 kind=$4
stage_game "$1" "$2"
lines=$stage/pad-lines
: >"$lines"
start_xserver
# A game built with AddressSanitizer needs its runtime loaded before anything else.
asan=$(ldd "$1" | awk '/libasan/{print $3}')
game_env=(LD_PRELOAD="${asan:+$asan:}$driver" QUINDARA_TEST_PAD="$kind" QUINDARA_TEST_PAD_LINES="$lines"
          SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS=1)
launch_game
pad() { echo "$*" >>"$lines"; }
tap() { pad button "$1" 1; pad button "$1" 0; }
if [ "$kind" = controller ]; then
  start=6 back=4 accelerate=0 # Start, Back, A
else
  start=8 back=9 accelerate=0 # the joystick's own numbers: start, quit, up
fi

wait_until 120 "the ready banner" shows_banner
[ "$kind" = controller ] && pad plug
tap $start
wait_until 120 "the attract screen" shows_attract
tap $start
wait_until 60 "the run to start" shows_no_coin_text
note_score
if [ "$kind" = controller ]; then
  pad axis 1 -32768 # the left stick up
  wait_until 60 "the score to rise on the stick" score_moved
  pad axis 1 0
  note_score
fi
pad button $accelerate 1
wait_until 60 "the score to rise on button $accelerate" score_moved
tap $back
wait_exit 60
[ "$status" = 0 ] || fail "Back ended the game with status $status"
high=$(stored_number 0)
[ "$high" -gt 0 ] || fail "the run's high score was not saved"

# The run as recorded, played again with no pad.
check=$(cd "$stage" && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null ./quindara --replay _resources/last-run.qrp --check)
[[ "$check" == *", score $high: ok" ]] || fail "the recorded run does not check: $check"
echo "a whole run on the $kind: high score $high, $check"
