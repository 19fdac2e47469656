#!/usr/bin/env bash
# Plays the real executable in a real X window with real key presses: the window opens
# with its caption at three times the size, Escape at the ready banner does not quit, the
# next Escape ends the game with status 0 and leaves an 8-byte settings file.
#   window_test.sh GAME RESOURCES_DIR
set -u
game=$1
resources=$2
fail() { echo "FAIL: $*"; exit 1; }
for tool in Xvfb xdotool xwininfo; do
  command -v $tool >/dev/null || fail "$tool is not installed"
done

stage=$(mktemp -d)
cp "$game" "$stage/quindara"
cp -r "$resources" "$stage/_resources"
rm -f "$stage/_resources/config.dat"

display=""
for n in $(seq 80 140); do
  [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
  Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xpid=$!
  sleep 1
  if kill -0 $xpid 2>/dev/null; then display=:$n; break; fi
done
[ -n "$display" ] || fail "could not start Xvfb"
cleanup() { [ -n "${gpid:-}" ] && kill $gpid 2>/dev/null; kill $xpid 2>/dev/null; wait 2>/dev/null; rm -rf "$stage"; }
trap cleanup EXIT
export DISPLAY=$display

# Started from another folder, as a desktop launcher would: it must still find _resources.
( cd / && unset SDL_VIDEODRIVER SDL12COMPAT_WINDOW_SCALING; SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null exec "$stage/quindara" ) > "$stage/out.log" 2>&1 &
gpid=$!

win=""
for i in $(seq 1 80); do
  win=$(xdotool search --name 'Quindara' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 $gpid 2>/dev/null || break
  sleep 0.25
done
[ -n "$win" ] || { cat "$stage/out.log"; fail "no game window appeared"; }
title=$(xdotool getwindowname "$win")
[ "$title" = "Quindara...v1.0.2b" ] || fail "window title is '$title'"
geometry=$(xwininfo -id "$win")
width=$(echo "$geometry" | awk '/Width:/{print $2}')
height=$(echo "$geometry" | awk '/Height:/{print $2}')
[ "$width" = 960 ] && [ "$height" = 720 ] || fail "window is ${width}x${height}, expected 960x720"

sleep 3   # loading, then the ready banner
xdotool windowfocus "$win" >/dev/null 2>&1
xdotool keydown Escape
sleep 0.6
xdotool keyup Escape
sleep 2
kill -0 $gpid 2>/dev/null || fail "Escape at the ready banner quit the game"
[ ! -e "$stage/_resources/config.dat" ] || [ "$(stat -c %s "$stage/_resources/config.dat")" = 8 ] || fail "bad settings file"

xdotool windowfocus "$win" >/dev/null 2>&1
xdotool key Escape
status=""
for i in $(seq 1 40); do
  if ! kill -0 $gpid 2>/dev/null; then wait $gpid; status=$?; gpid=; break; fi
  sleep 0.25
done
[ -n "$status" ] || fail "Escape in attract mode did not end the game"
[ "$status" = 0 ] || fail "exit status $status"
[ -f "$stage/_resources/config.dat" ] || fail "no settings file written"
[ "$(stat -c %s "$stage/_resources/config.dat")" = 8 ] || fail "settings file is not 8 bytes"
volume=$(od -An -t d4 -j 4 -N 4 "$stage/_resources/config.dat" | tr -d ' ')
[ "$volume" = 75 ] || fail "stored volume is $volume"
echo "window test passed"
