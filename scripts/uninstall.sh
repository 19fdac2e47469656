#!/usr/bin/env bash
# Removes exactly what `make install` put under a prefix, as its manifest lists it, and the
# folders the install made, once they are empty; folders that were there before stay. The
# player's settings and recorded runs are never in the manifest: they stay, and are named.
#   uninstall.sh PREFIX        (DESTDIR, when set, is put in front as for the install)
set -u
root=${DESTDIR:-}$1
manifest=$root/share/quindara/install-manifest.txt
made=$root/share/quindara/install-folders.txt
if [ ! -f "$manifest" ]; then
  echo "Nothing to uninstall: no Quindara installed under $1 ($manifest is missing)."
  exit 1
fi
while IFS= read -r file || [ -n "$file" ]; do # the last line has no line feed
  [ -n "$file" ] && rm -f "${DESTDIR:-}$file"
done <"$manifest"
folders=$(cat "$made" 2>/dev/null)
rm -f "$manifest" "$made"
# The folders the install made, deepest first, each once it is empty.
echo "$folders" | sort -r | while IFS= read -r dir; do
  [ -n "$dir" ] && rmdir "${DESTDIR:-}$dir" 2>/dev/null
done
echo "Quindara is uninstalled from $1."
data=${XDG_DATA_HOME:-$HOME/.local/share}/quindara
for kept in config.dat scores.txt course last-run.qrp "$data"/best-run*.qrp "$data"/courses; do
  kept=${kept#"$data"/}
  [ -e "$data/$kept" ] && echo "Kept: $data/$kept (your $(case $kept in
    config.dat) echo "high score and volume" ;; scores.txt) echo "tables of best runs" ;;
    course) echo "chosen course" ;; courses) echo "own courses" ;; last-run.qrp) echo "last run" ;;
    *) echo "best run" ;; esac); delete it to forget it)."
done
exit 0
