#!/usr/bin/env bash
# Watching a replay in the real window: "REPLAY" shows on the panel, the run plays out at its
# own pace, the game then ends with status 0 and has saved nothing and recorded nothing.
#   replay_window_test.sh GAME RESOURCES_DIR REPLAY
set -u
. "$(dirname "$0")/xwindow.sh"
stage_game "$1" "$2"
start_xserver
launch_game --replay "$3"
shows_replay_label() { [ "$(pixels_like 272 12 46 18 'rgb(255,220,0)' 12)" -gt 20 ]; }
wait_until 120 "REPLAY on the panel" shows_replay_label
wait_exit 300
[ "$status" = 0 ] || fail "exit status $status"
ls "$stage/_resources" | grep -E 'config.dat|\.qrp' && fail "a replay saved or recorded something"
echo "replay window test passed"
