#!/usr/bin/env bash
# Without its course the real game, in a real window, ends with status 1 every time (five
# starts: the crash on the way out that this guards against came now and then) and
# leaves the settings file as it was: nothing still running (the sound above all) may crash
# the way out.
#   missing_course_test.sh GAME RESOURCES_DIR
set -u
. "$(dirname "$0")/xwindow.sh"
stage_game "$1" "$2"
rm "$stage/_resources/01.lvl"
printf '\x10\x27\x00\x00\x40\x00\x00\x00' >"$stage/_resources/config.dat"
start_xserver
for start in $(seq 5); do
  ( cd / && SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null timeout -s KILL 60 "$stage/quindara" ) \
    >"$stage/out.log" 2>&1
  status=$?
  [ "$status" = 1 ] || fail "start $start ended with status $status"
done
[ "$(od -An -t x1 "$stage/_resources/config.dat" | tr -d ' ')" = 1027000040000000 ] ||
  fail "the settings file changed"
echo "missing course test passed"
