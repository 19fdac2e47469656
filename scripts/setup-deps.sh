#!/usr/bin/env bash
# Installs the Debian packages the game needs to build and run ("play"), to build its
# Debian package ("package"), or to build, run and test it ("test"). Packages already present are not touched, so a second run
# installs nothing and does not even refresh the package lists.
set -eu
mode=${1:-play}
need=(g++ cmake make pkg-config
      libsdl1.2-compat-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl-ttf2.0-dev
      fonts-liberation fonts-dseg fontforge)
if [ "$mode" = test ]; then
  need+=(libgtest-dev xvfb xdotool x11-utils imagemagick sox
         openbox dpkg-dev file desktop-file-utils appstream lintian clang libclang-rt-14-dev clang-format)
fi
if [ "$mode" = package ]; then
  need+=(dpkg-dev)
fi
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "Some packages are missing. As root, run:"
  echo "  apt-get update && apt-get install -y ${missing[*]}"
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
