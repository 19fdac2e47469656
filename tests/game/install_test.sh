#!/usr/bin/env bash
# Installs the built game into a private prefix and home as `make install` does: the launcher
# starts it from any folder, the desktop entry and the metainfo are valid, the installed copy keeps its
# settings in the player's data folder, and uninstalling leaves only those settings. Then
# builds the Debian package: the expected paths, the SDL implementation by name, no lintian
# error.
#   install_test.sh SOURCE_DIR BUILD_DIR
set -u
src=$1 build=$2
fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export HOME=$work/home
unset XDG_DATA_HOME
mkdir -p "$HOME"

mkdir -p "$prefix/share/applications" # there before the install: it stays after
# What playing from the build folder leaves there is the player's, never the game's: none of
# it may be installed or packaged.
planted=()
for left in config.dat last-run.qrp best-run.qrp config.dat.Q1w2E3 best-run.qrp.R4t5Y6; do
  [ -e "$build/_resources/$left" ] && continue # a player's own: left as it is
  echo player >"$build/_resources/$left" && planted+=("$build/_resources/$left")
done
trap 'rm -rf "$work" "${planted[@]}"' EXIT
"$src/scripts/install.sh" "$build" "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "install failed"; }
grep -E 'config\.dat|\.qrp' "$prefix/share/quindara/install-manifest.txt" && fail "the install carries a player's files"
version=$(cd / && "$prefix/bin/quindara" --version) || fail "the launcher did not start the game"
[ "$version" = "Quindara v1.0.2b" ] || fail "launcher printed '$version'"
desktop-file-validate "$prefix/share/applications/quindara.desktop" || fail "invalid desktop entry"
grep -qx "Exec=$prefix/bin/quindara" "$prefix/share/applications/quindara.desktop" || fail "desktop entry does not start the launcher"
metainfo=$(echo "$prefix"/share/metainfo/*.metainfo.xml)
appstreamcli validate --no-net "$metainfo" || fail "invalid metainfo $metainfo"
grep -q '<release version="1.0.2" date="[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]"/>' "$metainfo" || fail "the metainfo has no dated release"
for size in 48 64 128 256; do
  [ "$(file -b "$prefix/share/icons/hicolor/${size}x$size/apps/quindara.png" | cut -d, -f1,2)" = "PNG image data, $size x $size" ] ||
    fail "no $size-pixel icon"
done

# The installed copy, headless, keeps its settings in ~/.local/share/quindara.
settings=$HOME/.local/share/quindara/config.dat
( cd / && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null exec "$prefix/bin/quindara" ) >/dev/null 2>&1 &
game=$!
for _ in $(seq 600); do [ -f "$settings" ] && break; kill -0 $game 2>/dev/null || break; sleep 0.1; done
kill -TERM $game; wait $game; status=$?
[ "$status" = 0 ] || fail "the installed game ended with status $status"
[ "$(od -An -t d4 "$settings" | tr -s ' ')" = " 0 75" ] || fail "no default settings in $settings"
[ ! -e "$prefix/share/quindara/_resources/config.dat" ] || fail "the installed copy wrote beside itself"

echo run >"$(dirname "$settings")/last-run.qrp"
"$src/scripts/uninstall.sh" "$prefix" >"$work/uninstall.log" || fail "uninstall failed"
for kept in "$settings" "$(dirname "$settings")/last-run.qrp"; do
  grep -q "Kept: $kept" "$work/uninstall.log" || fail "uninstall did not name $kept"
done
left=$(find "$prefix" | sort | tr '\n' ' ')
[ "$left" = "$prefix $prefix/share $prefix/share/applications " ] || fail "uninstall left: $left"
[ -f "$settings" ] || fail "uninstall removed the settings"

# The Debian package.
( cd "$build" && cpack -G DEB -B "$work/package" ) >"$work/cpack.log" 2>&1 || { tail "$work/cpack.log"; fail "cpack failed"; }
deb=$work/package/quindara_1.0.2_amd64.deb
[ -f "$deb" ] || fail "no $deb"
contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for path in ./usr/games/quindara ./usr/share/games/quindara/_resources/01.lvl \
    ./usr/share/games/quindara/_resources/installed ./usr/share/games/quindara/_resources/arial.ttf \
    ./usr/share/applications/quindara.desktop ./usr/share/icons/hicolor/256x256/apps/quindara.png \
    ./usr/share/doc/quindara/copyright ./usr/share/doc/quindara/changelog.gz \
    "./usr/share/metainfo/$(basename "$metainfo")"; do
  echo "$contents" | grep -qx "$path" || fail "the package lacks $path"
done
echo "$contents" | grep -E 'config\.dat|\.qrp' && fail "the package carries a player's files"
dpkg-deb -f "$deb" Depends | grep -q 'libsdl1.2-compat-shim' || fail "the package does not ask for libsdl1.2-compat-shim"
lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1
grep '^E:' "$work/lintian.log" && fail "lintian errors"
grep '^W:' "$work/lintian.log" | sed 's/^/lintian /'
echo "install test passed"
