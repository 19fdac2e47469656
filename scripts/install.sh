#!/usr/bin/env bash
# Installs the built game for one player under PREFIX (DESTDIR, when set, goes in front), and
# keeps the list of what it installed with the game, where `make clean` cannot reach it.
#   install.sh BUILD_DIR PREFIX
set -eu
build=$1 prefix=$2
cmake --install "$build" --component user --prefix "$prefix"
cp "$build/install_manifest_user.txt" "${DESTDIR:-}$prefix/share/quindara/install-manifest.txt"
echo "Quindara is installed: run $prefix/bin/quindara, or find it in your desktop's Games menu."
