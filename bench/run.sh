#!/usr/bin/env bash
# make bench: the game's own work per frame, headless, on a short and a very long course; then
# whole frames with the flip in a 3x window under a private X server, next to a program that
# only blits one picture and flips (the floor), each five times: the median of the five runs'
# medians, and their spread.
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
for mode in present floor; do
  for run in 1 2 3 4 5; do
    "$bench" "$resources" $mode 2>/dev/null | grep -E 'playing|floor'
  done | awk '{ for (i = 1; i <= NF; ++i) if ($i == "median") print $(i + 1) }' | sort -n |
    awk -v mode=$mode '{ m[NR] = $1 }
      END { printf "%-8s median of 5 runs %.3f ms, spread %.3f to %.3f ms\n", mode, m[int((NR + 1) / 2)], m[1], m[NR] }'
done
