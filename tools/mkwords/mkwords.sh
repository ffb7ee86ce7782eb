#!/bin/sh
# Makes assets/wordsenglish.txt from Debian's scowl package: the common
# English words (size levels 10 and 20 of the English and American lists),
# lower-case letters only, so no proper names, possessives or abbreviations.
# Words a parent would not want on a child's screen (offensive, sexual or
# violent ones, blocklist.txt beside this script, each with its inflected
# forms as inflect.awk makes them) are left out; how many were removed is
# written to blocked-count.txt there.
# Deterministic: the same scowl version always gives the same file.
set -e
SCOWL=/usr/share/dict/scowl
HERE=$(dirname "$0")
OUT="${1:-$HERE/../../assets/wordsenglish.txt}"
BLOCK="$HERE/blocklist.txt"
[ -d "$SCOWL" ] || { echo "mkwords: $SCOWL not found; install the scowl package" >&2; exit 1; }
cat "$SCOWL"/english-words.10 "$SCOWL"/english-words.20 \
    "$SCOWL"/american-words.10 "$SCOWL"/american-words.20 |
  iconv -f ISO-8859-1 -t UTF-8 |
  tr -d '\r' |
  grep -E '^[a-z]+$' |
  LC_ALL=C sort -u > "$OUT.all"
awk -f "$HERE/inflect.awk" "$BLOCK" | LC_ALL=C sort -u > "$OUT.block"
grep -v -x -i -F -f "$OUT.block" "$OUT.all" > "$OUT.tmp" || true
removed=$(( $(wc -l < "$OUT.all") - $(wc -l < "$OUT.tmp") ))
rm -f "$OUT.all" "$OUT.block"
mv "$OUT.tmp" "$OUT"
[ -n "$1" ] || echo "$removed" > "$HERE/blocked-count.txt"
echo "mkwords: $(wc -l < "$OUT") words written to $OUT, $removed blocked"
