#!/usr/bin/env bash
# The rooms of src/ in the order docs/ARCHITECTURE.md lists them, top first: a file may
# include headers of its own room and of the rooms below it, never of a room above; every
# folder of src/ is a listed room.
#   layering.sh SRC_DIR ARCHITECTURE_MD
set -u
src=$1 doc=$2
mapfile -t rooms < <(sed -n 's/^[0-9][0-9]*\. `\([a-z_]*\)\/`.*/\1/p' "$doc")
[ ${#rooms[@]} -ge 2 ] || { echo "FAIL: no rooms listed in $doc"; exit 1; }
declare -A rank
for i in "${!rooms[@]}"; do rank[${rooms[$i]}]=$i; done
status=0
for folder in "$src"/*/; do
  room=$(basename "$folder")
  [ -n "${rank[$room]+x}" ] || { echo "FAIL: src/$room is not a room listed in $doc"; status=1; }
done
for room in "${rooms[@]}"; do
  while IFS=: read -r file line target; do
    [ -n "${rank[$target]+x}" ] || continue
    if [ "${rank[$target]}" -lt "${rank[$room]}" ]; then
      echo "FAIL: ${file#"$src"/}:$line includes $target/, a room above $room/"
      status=1
    fi
  done < <(grep -nE '^#include "[a-z_]+/' "$src/$room"/* 2>/dev/null |
             sed -E 's/^([^:]*):([0-9]+):#include "([a-z_]+)\/.*/\1:\2:\3/')
done
[ $status = 0 ] && echo "every include runs down: ${rooms[*]}"
exit $status
