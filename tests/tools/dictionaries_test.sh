#!/usr/bin/env bash
# The shipped dictionaries stay clean and can be made again: each holds none
# of its reviewed exclusions, and the recipe run again on the installed word
# lists gives the same bytes, notices included.
#
#   dictionaries_test.sh VREL-TOOL EDITION...
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

for code in "$@"; do
  data=$root/data/$code excluded=$root/data/$code/excluded.txt
  # Every excluded word, in the file's own encoding, as a whole line.
  sed 's/#.*//' "$excluded" | awk 'NF { print $1 }' | iconv -f UTF-8 -t WINDOWS-1252 > "$work/$code.excluded"
  tr -d '\r' < "$data/VREL.DAT" | grep -Fxf "$work/$code.excluded" > "$work/$code.found"
  [ -s "$work/$code.found" ] && fail "$code: VREL.DAT holds excluded words: $(iconv -f WINDOWS-1252 -t UTF-8 "$work/$code.found" | tr '\n' ' ')"

  if ! VREL_TOOL=$tool "$root/scripts/make-dictionary" --edition "$code" --out "$work/$code" 2> "$work/$code.log"; then
    fail "$code: the recipe failed:"; cat "$work/$code.log" >&2; continue
  fi
  for file in "$work/$code"/*; do
    cmp -s "$file" "$data/$(basename "$file")" || fail "$code: the recipe makes another $(basename "$file") than data/ holds"
  done
done
[ "$failed" = 0 ] && echo "dictionaries: $* clean and made again byte for byte"
exit "$failed"
