#!/usr/bin/env bash
# Removes exactly what `make install` put under a prefix, as its manifest lists it, and the
# folders that leaves empty. The player's settings file is never in the manifest: it stays.
#   uninstall.sh PREFIX        (DESTDIR, when set, is put in front as for the install)
set -u
prefix=${DESTDIR:-}$1
manifest=$prefix/share/quindara/install-manifest.txt
if [ ! -f "$manifest" ]; then
  echo "Nothing to uninstall: no Quindara installed under $1 ($manifest is missing)."
  exit 1
fi
while IFS= read -r file || [ -n "$file" ]; do   # the last line has no line feed
  [ -n "$file" ] || continue
  rm -f "${DESTDIR:-}$file"
  dir=$(dirname "${DESTDIR:-}$file")
  # Folders emptied by the removal go too, up to the prefix.
  while [ "$dir" != "$prefix" ] && [ "${#dir}" -gt "${#prefix}" ] && rmdir "$dir" 2>/dev/null; do
    dir=$(dirname "$dir")
  done
done <"$manifest"
rm -f "$manifest"
rmdir "$prefix/share/quindara/_resources" "$prefix/share/quindara" 2>/dev/null
rmdir "$prefix/share" 2>/dev/null
settings=${XDG_DATA_HOME:-$HOME/.local/share}/quindara/config.dat
echo "Quindara is uninstalled from $1."
if [ -f "$settings" ]; then
  echo "Your high score and volume stay in $settings (delete it to forget them)."
fi
