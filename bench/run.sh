#!/usr/bin/env bash
# make bench: the game's own work per frame, headless, on a short and a very long course; then
# whole frames with the flip in a 3x window under a private X server, taken in turns with frames
# that only blit one picture and flip (the floor) in the same run: their ratio, five times.
#   run.sh BENCH_PROGRAM RESOURCES_DIR
set -u
bench=$1 resources=$2
"$bench" "$resources" work || exit 1
command -v Xvfb >/dev/null || { echo "no Xvfb: the window measurements are skipped"; exit 0; }
fifo=$(mktemp -u); mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xpid=$!
trap 'kill $xpid 2>/dev/null; rm -f "$fifo"' EXIT
read -r -t 60 n <"$fifo" || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$n
unset SDL_VIDEODRIVER
# Five runs of the window's frames, each beside the floor in the same run: the median ratio
# of each page and the spread of the five; and what the music costs a frame, in each.
music=$(mktemp)
for run in 1 2 3 4 5; do
  "$bench" "$resources" present 2>/dev/null | tee -a "$music" | grep 'ratio' |
    sed -E 's/^(.*[^ ]) +median .*ratio ([0-9.]+)$/\1\t\2/'
done | sort -t "$(printf '\t')" -k1,1 -k2,2n |
  awk -F '\t' '{ v[$1] = v[$1] " " $2; n[$1]++ }
    END { for (p in v) { split(v[p], x, " ");
      printf "%-22s ratio to the floor, median of %d runs %.3f, spread %.3f to %.3f\n", p, n[p], x[int((n[p] + 1) / 2)], x[1], x[n[p]] } }'
grep 'the music' "$music"; rm -f "$music"
