#!/bin/sh
# Installs the build into a temporary root (DESTDIR) as the Debian package
# does, checks the file list, and starts the installed program to see that it
# finds its data at ../share/glyphfall.
# Usage: install-test.sh BUILD_FOLDER SCRATCH_FOLDER VERSION_TEXT
set -u
BUILD="$1"
ROOT="$2/root"
rm -rf "$ROOT"
DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr >/dev/null || { echo "install failed"; exit 1; }
status=0
for f in usr/games/glyphfall usr/share/glyphfall/wordsenglish.txt usr/share/glyphfall/wave/letter.wav \
         usr/share/glyphfall/wave/castledestroyed.wav usr/share/glyphfall/wave/miss.wav usr/share/glyphfall/fonts/LICENSE-ComicNeue.txt \
         usr/share/applications/glyphfall.desktop usr/share/metainfo/io.github.glyphfall.Glyphfall.metainfo.xml \
         usr/share/man/man6/glyphfall.6 usr/share/icons/hicolor/16x16/apps/glyphfall.png \
         usr/share/icons/hicolor/48x48/apps/glyphfall.png usr/share/icons/hicolor/256x256/apps/glyphfall.png; do
  [ -e "$ROOT/$f" ] || { echo "missing: $f"; status=1; }
done
[ $(ls "$ROOT/usr/share/glyphfall/wave" | wc -l) -eq 13 ] || { echo "not thirteen sounds"; status=1; }
"$ROOT/usr/games/glyphfall" --version | grep -qF "Glyphfall! $3" || { echo "--version"; status=1; }
# Without a word list the program stops at once with status 1; with it, it
# runs until the timeout ends it (status 124).
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy HOME="$2/home" timeout 3 "$ROOT/usr/games/glyphfall" >/dev/null 2>&1
rc=$?
[ $rc -eq 124 ] || { echo "the installed program did not run from its share folder (status $rc)"; status=1; }
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$ROOT/usr/share/applications/glyphfall.desktop" || status=1; fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$ROOT/usr/share/metainfo/io.github.glyphfall.Glyphfall.metainfo.xml" || status=1
fi
[ $status -eq 0 ] && echo "installed tree complete"
exit $status
