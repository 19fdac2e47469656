#!/usr/bin/env bash
# Checks a committed replay frame by frame with a staged copy of the game, so the check never
# runs inside the build folder.
#   check_replay.sh QUINDARA RESOURCES_DIR REPLAY
set -eu
stage=$(mktemp -d /tmp/quindara-check-XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$1" "$stage/quindara"
. "$(dirname "$0")/copy_resources.sh"
copy_resources "$2" "$stage/_resources"
"$stage/quindara" --replay "$3" --check
