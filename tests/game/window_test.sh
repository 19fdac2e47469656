#!/usr/bin/env bash
# Plays the real executable in a real X window with real key presses: the window opens
# with its caption at three times the size, Escape at the ready banner does not quit, the
# next Escape ends the game with status 0 and leaves an 8-byte settings file. The window
# carries the game's icon, and one asked larger than the desktop opens as large as fits. F11
# and --fullscreen: with no window manager the window stays as it was; with one, full screen
# fills the desktop and leaving it gives back the window at the chosen scale, and switching
# to another window pauses a run.
#   window_test.sh GAME RESOURCES_DIR
set -u
. "$(dirname "$0")/xwindow.sh"
stage_game "$1" "$2"
start_xserver
launch_game

title=$(xdotool getwindowname "$win")
[ "$title" = "Quindara...v1.0.2b" ] || fail "window title is '$title'"
size_is 960x720 || fail "window is $(window_size), expected 960x720"
xprop -id "$win" _NET_WM_ICON | grep -q 'Icon (30 x 40)' || fail "the window has no icon"

wait_until 120 "the ready banner" shows_banner
press keydown Escape        # ends the wait like any key ...
wait_until 120 "the attract screen" shows_attract
press keyup Escape          # ... and its release must not quit
press keydown q             # the volume bar answers only while the game runs
wait_until 60 "the volume bar" shows_volume_bar
press keyup q
kill -0 "$gpid" 2>/dev/null || fail "Escape at the ready banner quit the game"
# With no window manager full screen cannot show: F11 leaves the window as it was.
nowm="full screen needs a window manager that offers it"
press key F11
wait_until 60 "the game to say full screen cannot show" said "$nowm"
size_is 960x720 && shows_attract || fail "F11 with no window manager changed the window: $(window_size)"

press key Escape
wait_exit 60
[ "$status" = 0 ] || fail "exit status $status"
[ -f "$stage/_resources/config.dat" ] || fail "no settings file written"
[ "$(stat -c %s "$stage/_resources/config.dat")" = 8 ] || fail "settings file is not 8 bytes"
volume=$(stored_number 4)
[ "$volume" -gt 75 ] && [ "$volume" -le 128 ] || fail "stored volume is $volume, expected above 75 after q"

# A window too large for the 1280x1024 desktop opens as large as fits, and says so; asked
# full screen with no window manager, it opens as that window.
launch_game --scale 8 --fullscreen
size_is 1280x960 || fail "window --scale 8 is $(window_size), expected 1280x960"
said "does not fit the 1280x1024 desktop; it opens 4 times" || fail "the smaller window was not said"
said "$nowm" || fail "--fullscreen with no window manager was not said"
kill -TERM "$gpid"
wait_exit 60

# With a window manager: full screen fills the desktop, and leaving it gives back the window
# at the chosen scale, from --fullscreen too.
# (A window manager that ends while starting is started again, its words kept for a failure.)
wm= wm_starts=0
wm_ready() {
  if [ -z "$wm" ] || ! kill -0 "$wm" 2>/dev/null; then
    [ $((wm_starts += 1)) -le 3 ] || fail "the window manager ended three times"
    openbox >>"$stage/openbox.log" 2>&1 &
    wm=$!
  fi
  xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_WM_STATE_FULLSCREEN
}
wait_until 120 "the window manager" wm_ready
launch_game --scale 2
scale=2
wait_until 120 "the ready banner" shows_banner
press key Escape
wait_until 120 "the attract screen" shows_attract
press key F11
wait_until 60 "full screen" size_is 1280x1024
press key F11
back_at() { size_is "$1" && shows_attract; }
wait_until 60 "the window back at twice its size" back_at 640x480
# Switching to another window mid-run pauses it; the player's start press resumes it.
press key Return
wait_until 60 "the run to start" shows_no_coin_text
xmessage -name other "another window" 2>/dev/null &
other=$!
activate_other() { xdotool search --classname other windowactivate 2>/dev/null; }
wait_until 60 "the other window" activate_other
shows_paused() { [ "$(pixels_like 124 50 60 14 'rgb(255,0,0)' 10)" -gt 30 ]; }
wait_until 60 "the run to pause" shows_paused
press key Return
wait_until 60 "the run to go on" eval '! shows_paused'
kill "$other"
scale=3
kill -TERM "$gpid"
wait_exit 60
launch_game --fullscreen
wait_until 60 "full screen from the start" size_is 1280x1024
scale=4 top=32 # 1280x960 in the middle of the desktop
wait_until 120 "the ready banner in full screen" shows_banner
press key Escape
wait_until 120 "the attract screen in full screen" shows_attract
press key F11
scale=3 top=0
wait_until 60 "the window at three times its size, on the desktop" back_at 960x720
kill -TERM "$gpid"
wait_exit 60
kill "$wm"
echo "window test passed"
