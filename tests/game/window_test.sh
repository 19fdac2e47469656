#!/usr/bin/env bash
# Plays the real executable in a real X window with real key presses: the window opens
# with its caption at three times the size, Escape at the ready banner does not quit, the
# next Escape ends the game with status 0 and leaves an 8-byte settings file. The window
# carries the game's icon, and one asked larger than the desktop opens as large as fits.
#   window_test.sh GAME RESOURCES_DIR
set -u
. "$(dirname "$0")/xwindow.sh"
stage_game "$1" "$2"
start_xserver
launch_game

title=$(xdotool getwindowname "$win")
[ "$title" = "Quindara...v1.0.2b" ] || fail "window title is '$title'"
geometry=$(xwininfo -id "$win")
width=$(echo "$geometry" | awk '/Width:/{print $2}')
height=$(echo "$geometry" | awk '/Height:/{print $2}')
[ "$width" = 960 ] && [ "$height" = 720 ] || fail "window is ${width}x${height}, expected 960x720"
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (30 x 40)' || fail "the window has no icon"

wait_until 120 "the ready banner" shows_banner
press keydown Escape        # ends the wait like any key ...
wait_until 120 "the attract screen" shows_attract
press keyup Escape          # ... and its release must not quit
press keydown q             # the volume bar answers only while the game runs
wait_until 60 "the volume bar" shows_volume_bar
press keyup q
kill -0 "$gpid" 2>/dev/null || fail "Escape at the ready banner quit the game"
# Full screen and back: the window as it was, three times the screen. (With no window
# manager here, full screen itself cannot show; leaving it must still give the window back.)
press key F11
changed() { win=$(xdotool search --name '^Quindara' | head -1); ! shows_attract; }
wait_until 60 "the window to change" changed
press key F11
back_as_it_was() { win=$(xdotool search --name '^Quindara' | head -1)
                   [ "$(xwininfo -id "$win" | awk '/Width:/{print $2}')" = 960 ] && shows_attract; }
wait_until 60 "the window back at three times its size" back_as_it_was

press key Escape
wait_exit 60
[ "$status" = 0 ] || fail "exit status $status"
[ -f "$stage/_resources/config.dat" ] || fail "no settings file written"
[ "$(stat -c %s "$stage/_resources/config.dat")" = 8 ] || fail "settings file is not 8 bytes"
volume=$(stored_number 4)
[ "$volume" -gt 75 ] && [ "$volume" -le 128 ] || fail "stored volume is $volume, expected above 75 after q"

# A window too large for the 1280x1024 desktop opens as large as fits, and says so.
launch_game --scale 8
geometry=$(xwininfo -id "$win")
width=$(echo "$geometry" | awk '/Width:/{print $2}')
height=$(echo "$geometry" | awk '/Height:/{print $2}')
[ "$width" = 1280 ] && [ "$height" = 960 ] || fail "window --scale 8 is ${width}x${height}, expected 1280x960"
grep -q "does not fit the 1280x1024 desktop; it opens 4 times" "$stage/out.log" || fail "the smaller window was not said"
kill -TERM "$gpid"
wait_exit 60
echo "window test passed"
