#!/usr/bin/env bash
# make install and make uninstall, as a desktop user: installs into a fresh
# home folder (with a space in its path), checks every file and the menu
# entry, plays the launcher on the display (no display: a clear refusal;
# with one: a private Wine prefix in the game folder and the main window),
# reinstalls over a grown dictionary, uninstalls, and checks that only the
# player's VREL.DAT is left until PURGE=1 removes it too.
#
#   install_test.sh SOURCE-DIR BUILD-DIR
#
# It runs on a private display of its own (scripts/desktop-run), so that it
# can run beside the tests that share one.
set -uo pipefail

source_dir=$1
build_dir=$2
installer=$source_dir/scripts/desktop-install
if [ "${VREL_INSTALL_TEST_DISPLAY:-}" != private ]; then
  exec env VREL_INSTALL_TEST_DISPLAY=private "$source_dir/scripts/desktop-run" "$0" "$@"
fi

work=$(mktemp -d)
home="$work/vrel home"
mkdir "$home"
launch_log=$work/launch.log
launcher_pid=
cleanup() {
  [ -n "$launcher_pid" ] && kill "$launcher_pid" 2>/dev/null
  WINEPREFIX=$home/.local/share/vrel/wineprefix wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAILED: $1" >&2
  failures=$((failures + 1))
}
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  "$@" || fail "$what"
}
# Every file and link in the home folder.
files_left() {
  (cd "$home" && find . \( -type f -o -type l \) | sort)
}

# The environment of a user with nothing set up: XDG defaults, no prefix.
as_user() {
  env -u XDG_DATA_HOME -u PREFIX -u PURGE -u WINEPREFIX -u VREL_INSTALL_TEST_DISPLAY HOME="$home" VREL_BUILD="$build_dir" "$@"
}

data=$home/.local/share
game=$data/vrel
launcher=$home/.local/bin/vrel
entry=$data/applications/vrel.desktop

# --- install -----------------------------------------------------------------
output=$(as_user "$installer" install 2>&1) || { echo "$output" >&2; fail "install failed"; exit 1; }

check "Vrel.exe is not the build's" cmp -s "$build_dir/bin/Vrel.exe" "$game/Vrel.exe"
check "VREL.DAT is not the shipped dictionary" cmp -s "$source_dir/data/en/VREL.DAT" "$game/VREL.DAT"
check "no LICENSE in the game folder" cmp -s "$source_dir/LICENSE" "$game/LICENSE"
check "no word list notice" cmp -s "$source_dir/data/en/scowl-copyright.txt" "$game/scowl-copyright.txt"
for help in "$build_dir"/bin/*.HLP; do
  [ -f "$help" ] && check "$(basename "$help") not installed" cmp -s "$help" "$game/$(basename "$help")"
done
check "the launcher is not executable" test -x "$launcher"
check "the start script is not executable" test -x "$game/start"

check "desktop-file-validate rejects the menu entry" desktop-file-validate "$entry"
check "the menu entry is not named Vrel 2" grep -qx 'Name=Vrel 2' "$entry"
check "the menu entry does not start the launcher" grep -qxF "Exec=\"$launcher\"" "$entry"
check "the menu entry names no icon" grep -qx 'Icon=vrel' "$entry"
for size in 16 24 32 48 64 128 256; do
  icon=$data/icons/hicolor/${size}x$size/apps/vrel.png
  got=$(identify -format '%m %wx%h' "$icon" 2>/dev/null)
  [ "$got" = "PNG ${size}x$size" ] || fail "icon $icon: '$got', not a ${size}x$size PNG"
done

# --- the launcher --------------------------------------------------------------
output=$(as_user env -u DISPLAY "$launcher" 2>&1)
status=$?
[ "$status" = 1 ] || fail "without a display the launcher exits with $status, not 1"
grep -q 'no display' <<<"$output" || fail "without a display the launcher says: $output"
[ -e "$game/wineprefix" ] && fail "without a display the launcher made a Wine prefix"

as_user "$launcher" >"$launch_log" 2>&1 &
launcher_pid=$!
# The main window is the program's wide "Vrel 2" window; the loading dialog
# that comes first is narrower. The first start makes the Wine prefix.
main=
deadline=$((SECONDS + 300))
while [ "$SECONDS" -lt "$deadline" ]; do
  for window in $(xdotool search --onlyvisible --name '^Vrel 2$' 2>/dev/null); do
    width=$(xdotool getwindowgeometry "$window" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
    [ "${width:-0}" -gt 450 ] && main=$window
  done
  [ -n "$main" ] && break
  kill -0 "$launcher_pid" 2>/dev/null || break
  sleep 0.5
done
if [ -z "$main" ]; then
  fail "the launcher showed no main window within 5 minutes: $(cat "$launch_log")"
else
  grep -q 'setting up Wine' "$launch_log" || fail "no message while the Wine prefix was made"
  check "the game runs in no Wine prefix of its own" test -f "$game/wineprefix/system.reg"
  check "the game's Wine prefix has no Marlett font" test -f "$game/wineprefix/drive_c/windows/Fonts/marlett.ttf"
  [ -e "$home/.wine" ] && fail "the game used the default Wine prefix ~/.wine"
  xdotool windowfocus --sync "$main" key alt+F4 || fail "xdotool could not close the main window"
  deadline=$((SECONDS + 120))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$launcher_pid" 2>/dev/null || break
    sleep 0.5
  done
fi
if kill -0 "$launcher_pid" 2>/dev/null; then
  fail "the game did not end on Alt+F4"
else
  wait "$launcher_pid"
  status=$?
  [ "$status" = 0 ] || fail "the launcher exited with $status after Alt+F4: $(cat "$launch_log")"
fi
launcher_pid=

# --- reinstall over the player's words -----------------------------------------
printf 'ZZZ\r\n' >>"$game/VREL.DAT"
grown=$(cat "$game/VREL.DAT")
output=$(as_user "$installer" install 2>&1) || fail "the second install failed: $output"
[ "$(cat "$game/VREL.DAT")" = "$grown" ] || fail "a reinstall replaced the player's VREL.DAT"

# --- uninstall -----------------------------------------------------------------
output=$(as_user "$installer" uninstall 2>&1) || fail "uninstall failed: $output"
left=$(files_left)
[ "$left" = "./.local/share/vrel/VREL.DAT" ] || fail "uninstall left more or less than VREL.DAT: $left"
[ "$(cat "$game/VREL.DAT")" = "$grown" ] || fail "uninstall changed VREL.DAT"

output=$(as_user env PURGE=1 "$installer" uninstall 2>&1) || fail "uninstall PURGE=1 failed: $output"
grep -q "Removing your dictionary $game/VREL.DAT" <<<"$output" ||
  fail "uninstall PURGE=1 did not say it removes the dictionary: $output"
left=$(files_left)
[ -z "$left" ] || fail "uninstall PURGE=1 left: $left"
[ -e "$game" ] && fail "uninstall PURGE=1 left the game folder"

# --- an edition ----------------------------------------------------------------
# Its own folder, launcher and menu entry beside the English game's, and its
# locale for Wine: a stand-in for wine records how the launcher runs it.
edition=$data/vrel-de
output=$(as_user "$installer" install de 2>&1) || fail "install de failed: $output"
check "the German Vrel.exe is not the build's" cmp -s "$build_dir/editions/de/Vrel.exe" "$edition/Vrel.exe"
check "the German VREL.DAT is not the shipped one" cmp -s "$source_dir/data/de/VREL.DAT" "$edition/VREL.DAT"
check "desktop-file-validate rejects the German menu entry" desktop-file-validate "$data/applications/vrel-de.desktop"
check "the German menu entry is not named Vrel 2 (Deutsch)" grep -qx 'Name=Vrel 2 (Deutsch)' "$data/applications/vrel-de.desktop"
mkdir "$work/bin"
cat >"$work/bin/wine" <<'WINE'
#!/bin/sh
if [ "$1" = wineboot ]; then mkdir -p "$WINEPREFIX" && : >"$WINEPREFIX/system.reg"; exit 0; fi
printf '%s\n' "LC_ALL=${LC_ALL:-}" "WINEPREFIX=$WINEPREFIX" "$@" >"$WINE_RECORD"
WINE
printf '#!/bin/sh\n' >"$work/bin/wineserver"
chmod +x "$work/bin/wine" "$work/bin/wineserver"
as_user env PATH="$work/bin:$PATH" WINE_RECORD="$work/record" "$home/.local/bin/vrel-de" >/dev/null 2>&1 ||
  fail "the German launcher failed"
expected=$(printf '%s\n' "LC_ALL=de_DE.UTF-8" "WINEPREFIX=$edition/wineprefix" "$edition/Vrel.exe")
[ "$(cat "$work/record" 2>/dev/null)" = "$expected" ] ||
  fail "the German launcher ran: $(cat "$work/record" 2>/dev/null), not: $expected"
output=$(as_user env PURGE=1 "$installer" uninstall de 2>&1) || fail "uninstall de failed: $output"
left=$(files_left)
[ -z "$left" ] || fail "uninstall de PURGE=1 left: $left"

# --- an edition that was not built ---------------------------------------------
output=$(as_user env VREL_BUILD="$home/no-build" "$installer" install de 2>&1)
status=$?
[ "$status" = 1 ] || fail "installing an edition that was not built exits with $status, not 1"
grep -q "no-build/editions/de does not exist" <<<"$output" ||
  fail "installing an edition that was not built says: $output"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "install, launcher and uninstall: all checks passed"
