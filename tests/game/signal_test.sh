#!/usr/bin/env bash
# Asked to stop by a signal, the real game ends as Escape does, with status 0 and the high
# score kept in its settings file.
#   signal_test.sh GAME RESOURCES_DIR STATE SIGNAL    (STATE: banner, attract or playing)
set -u
. "$(dirname "$0")/xwindow.sh"
state=$3 sig=$4
stage_game "$1" "$2"
# A stored high score of 4660 (and volume 90): kept whatever the run scores below it.
printf '\x34\x12\x00\x00\x5a\x00\x00\x00' >"$stage/_resources/config.dat"
[ "$state" = playing ] && printf '\x00\x00\x00\x00\x5a\x00\x00\x00' >"$stage/_resources/config.dat"
start_xserver
launch_game

wait_until 120 "the ready banner" shows_banner
if [ "$state" != banner ]; then
  press key Return
  wait_until 120 "the attract screen" shows_attract
fi
if [ "$state" = playing ]; then
  press key Return
  wait_until 60 "the run to start" shows_no_coin_text
  note_score
  press keydown Up
  wait_until 60 "the score to rise" score_moved
fi

kill -"$sig" "$gpid"
wait_exit 60
[ "$status" = 0 ] || fail "SIG$sig in $state: exit status $status"
[ "$(stat -c %s "$stage/_resources/config.dat")" = 8 ] || fail "settings file is not 8 bytes"
high=$(stored_number 0)
if [ "$state" = playing ]; then
  [ "$high" -gt 0 ] || fail "SIG$sig while playing: the run's high score was not saved"
else
  [ "$high" = 4660 ] || fail "SIG$sig in $state: stored high score is $high"
fi
[ "$(stored_number 4)" = 90 ] || fail "stored volume changed"
echo "SIG$sig in $state: stopped cleanly, high score $high"
