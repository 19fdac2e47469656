#!/usr/bin/env bash
# Installs the built game for one player under PREFIX (DESTDIR, when set, goes in front), and
# keeps with the game the list of what it installed and of the folders the install made,
# where `make clean` cannot reach them.
#   install.sh BUILD_DIR PREFIX
set -eu
build=$1 prefix=$2
root=${DESTDIR:-}$prefix
folders() { [ -d "$root" ] && find "$root" -type d | sort; true; }
before=$(folders)
cmake --install "$build" --component user --prefix "$prefix"
cp "$build/install_manifest_user.txt" "$root/share/quindara/install-manifest.txt"
# The folders that were not there before: only these does `make uninstall` take away again.
comm -13 <(echo "$before") <(folders) | sed "s|^${DESTDIR:-}||" >"$root/share/quindara/install-folders.txt"
echo "Quindara is installed: run $prefix/bin/quindara, or find it in your desktop's Games menu."
