# copy_resources FROM TO: the game's own resources in a built _resources folder (its
# pictures, sounds, fonts and course), never what a player left there: no settings, no
# recorded runs, nothing half saved.
copy_resources() {
  mkdir -p "$2"
  ( cd "$1" && find . -type f \( -name '*.bmp' -o -name '*.wav' -o -name '*.ttf' -o -name '*.lvl' \) \
      -exec cp --parents -t "$2" {} + )
}
