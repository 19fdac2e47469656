#!/usr/bin/env bash
# Checks a committed replay frame by frame with a staged copy of the game, so the check never
# runs inside the build folder: once for a player with no courses of their own, and once more
# with one added (a run must check on any machine, whatever courses it has).
#   check_replay.sh QUINDARA RESOURCES_DIR REPLAY
set -eu
stage=$(mktemp -d /tmp/quindara-check-XXXXXX)
trap 'rm -rf "$stage"' EXIT
cp "$1" "$stage/quindara"
. "$(dirname "$0")/copy_resources.sh"
copy_resources "$2" "$stage/_resources"
export XDG_DATA_HOME=$stage/data
for own in none added; do
  if [ $own = added ]; then
    mkdir -p "$XDG_DATA_HOME/quindara/courses"
    cp "$stage/_resources/02.lvl" "$XDG_DATA_HOME/quindara/courses/another.lvl"
  fi
  out=$("$stage/quindara" --replay "$3" --check)
  echo "own courses $own: $out"
  [[ $out == *": ok" ]] || exit 1
done
