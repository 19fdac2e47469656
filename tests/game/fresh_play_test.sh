#!/usr/bin/env bash
# `make play` in a new build folder on a machine without the test packages: it configures
# without GoogleTest (here hidden from CMake), builds the game and its resources and nothing
# of the suite, and starts the game (here checking a replay, as there is no one to play).
#   fresh_play_test.sh SOURCE_DIR REPLAY
set -u
src=$1 replay=$2
fail() { echo "FAIL: $*"; exit 1; }
build=$(mktemp -d)
trap 'rm -rf "$build"' EXIT
out=$(cd "$src" && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null \
  make --no-print-directory play BUILD="$build" CMAKE_ARGS=-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
    ARGS="--replay $replay --check" 2>&1) || { echo "$out" | tail -30; fail "make play failed"; }
echo "$out" | grep -q ': ok$' || { echo "$out" | tail -30; fail "the game did not check the replay"; }
[ -x "$build/quindara" ] && [ -f "$build/_resources/01.lvl" ] || fail "no game or no resources"
built_tests=$(find "$build/tests" -type f -name '*_tests' 2>/dev/null)
[ -z "$built_tests" ] || fail "make play built the test suite: $built_tests"
echo "fresh play test passed"
