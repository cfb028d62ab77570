#!/usr/bin/env bash
# The evidence rule of scripts/filter-words: a long listed word, and every
# form, is kept only when it is frequent or a regular form of a frequent
# word (compared after folding); a short listed word needs none.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%s\n' gato gatos perro perros tiene zzz zzzzz > "$work/list"
printf '%s\n' mãos limões gatas sol Manaus > "$work/forms"
printf '%s\n' gato tiene mão limão manaus > "$work/frequent"
"$root/scripts/filter-words" --alphabet ABCDEFGHIJKLMNOPQRSTUVWXYZ \
  --frequent "$work/frequent" --evidence-from 5 --endings 's a=o ões=ão' \
  --forms "$work/forms" "$work/out" "$work/list" 2> "$work/log" || { cat "$work/log"; exit 1; }
# GATO and ZZZ as short words, GATOS by "s", TIENE as it is; PERRO, PERROS
# and ZZZZZ have no evidence. MAOS and LIMOES are forms by "s" and "ões=ão"
# after folding; a form needs evidence however short (SOL); GATAS takes "s"
# to GATA, not GATO; Manaus is a name.
expected=$(printf '%s\n' GATO GATOS LIMOES MAOS TIENE ZZZ)
actual=$(cat "$work/out")
if [ "$actual" != "$expected" ]; then
  echo "FAIL: kept $(echo $actual), expected $(echo $expected)" >&2
  exit 1
fi
grep -q 'not in ordinary text (no evidence): 3' "$work/log" ||
  { echo "FAIL: the count of words without evidence:" >&2; cat "$work/log" >&2; exit 1; }
echo "filter-words: evidence rule keeps the frequent words and their forms"
