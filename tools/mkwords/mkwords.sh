#!/bin/sh
# Makes assets/wordsenglish.txt from Debian's scowl package: the common
# English words (size levels 10 and 20 of the English and American lists),
# lower-case letters only, so no proper names, possessives or abbreviations.
# Deterministic: the same scowl version always gives the same file.
set -e
SCOWL=/usr/share/dict/scowl
OUT="${1:-$(dirname "$0")/../../assets/wordsenglish.txt}"
[ -d "$SCOWL" ] || { echo "mkwords: $SCOWL not found; install the scowl package" >&2; exit 1; }
cat "$SCOWL"/english-words.10 "$SCOWL"/english-words.20 \
    "$SCOWL"/american-words.10 "$SCOWL"/american-words.20 |
  iconv -f ISO-8859-1 -t UTF-8 |
  tr -d '\r' |
  grep -E '^[a-z]+$' |
  LC_ALL=C sort -u > "$OUT.tmp"
mv "$OUT.tmp" "$OUT"
echo "mkwords: $(wc -l < "$OUT") words written to $OUT"
