#!/bin/sh
# A cross build's vrel-tool.exe, under Wine, deals and solves twenty games
# exactly as the native vrel-tool does.
#
#   deals_as_native.sh NATIVE-TOOL WINDOWS-TOOL DICTIONARY WINE-PREFIX
set -eu
native=$1
windows=$2
dictionary=$3
prefix=$4
[ -x "$native" ] || { echo "no native vrel-tool at $native: build the native preset first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$native" deal --dict "$dictionary" --seed 1 --games 20 >"$work/expected"
"$(dirname "$0")/../../scripts/wine-run" --prefix="$prefix" \
  "$windows" deal --dict "$dictionary" --seed 1 --games 20 >"$work/raw"
tr -d '\r' <"$work/raw" >"$work/actual"
if ! cmp -s "$work/actual" "$work/expected"; then
  echo "vrel-tool.exe deals otherwise than the native vrel-tool:" >&2
  diff "$work/expected" "$work/actual" | head -20 >&2
  exit 1
fi
echo "vrel-tool.exe deals as the native build does ($(wc -l <"$work/expected") lines)"
