#!/usr/bin/env bash
# Writes the package's copyright file: the game, and the licences of the two font faces it
# uses (Liberation Sans as it is, and the DSEG7 face the panel's LED font is made from).
#   make-copyright.sh OUTPUT
set -eu
indent() { sed -e 's/^[[:space:]]*$/ ./' -e 's/^\([^ ]\)/ \1/' -e 's/^ \.\?$/ ./'; }
{
cat <<'EOT'
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Quindara
Comment: Every picture, sound and the course are made by the game's own generator
 programs. The panel's LED face is DSEG7 Classic Bold condensed to 60 % width and
 renamed, as its licence asks of a modified version.

Files: *
Copyright: 2026 The Quindara developers
License: Quindara
 The Quindara developers. All rights reserved. This package may be copied and
 given away unchanged.

Files: usr/share/games/quindara/_resources/led.ttf
Copyright: 2017-2020 keshikan <http://www.keshikan.net>, with Reserved Font Name "DSEG".
License: OFL-1.1

Files: usr/share/games/quindara/_resources/arial.ttf
Copyright: 2007 Red Hat, Inc. LIBERATION is a trademark of Red Hat, Inc.
Comment: A link to Liberation Sans of the fonts-liberation package.
License: GPL-2 with font exception
EOT
# The Liberation licence as Debian's fonts-liberation states it.
sed -n '/^License:/,$p' /usr/share/doc/fonts-liberation/copyright | tail -n +2 | indent
echo
echo "License: OFL-1.1"
sed -n '/^License: OFL-1.1/,/^$/p' /usr/share/doc/fonts-dseg/copyright | tail -n +2 | sed '/^$/d'
} >"$1"
