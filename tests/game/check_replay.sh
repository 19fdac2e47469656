#!/usr/bin/env bash
# Checks a committed replay frame by frame with a staged copy of the game, so the check never
# runs inside the build folder.
#   check_replay.sh QUINDARA RESOURCES_DIR REPLAY
set -eu
stage=$(mktemp -d /tmp/quindara-check-XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$1" "$stage/quindara"
cp -r "$2" "$stage/_resources"
rm -f "$stage/_resources/config.dat"
"$stage/quindara" --replay "$3" --check
