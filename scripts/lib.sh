# Helpers shared by the scripts, and by the start script of an installed game
# (which has a copy beside it): the Wine environment, the editions and their
# edition.conf, and the build folders. POSIX sh, so that sh and bash scripts
# alike can source it:
#
#   VREL_ROOT=/path/to/source/tree   # what the functions below that read the
#   . "$VREL_ROOT/scripts/lib.sh"    # source tree need (default: .)
#
#   vrel_wine_env [PREFIX]        Wine for the game: no debug output, no Mono,
#                                 Gecko or menu entries; PREFIX (made, and
#                                 taken as an absolute path) as WINEPREFIX
#   vrel_editions                 the editions' codes, the default first, one
#                                 a line
#   vrel_default_edition          the default edition's code (the list's first)
#   vrel_is_edition CODE          whether CODE is one of them
#   vrel_edition_own_name CODE    the edition's name in its own language
#   vrel_edition_value CODE NAME  the value of NAME in the edition's
#                                 edition.conf, empty when it has none
#   vrel_build_dir PRESET         the build folder of a CMake preset
#   vrel_program_dir CODE [BUILD] the folder of the edition's Vrel.exe in a
#                                 Windows build (default: the windows preset's)

VREL_ROOT=${VREL_ROOT:-.}

vrel_wine_env() {
  WINEDEBUG=-all
  WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  export WINEDEBUG WINEDLLOVERRIDES
  if [ -n "${1:-}" ]; then
    mkdir -p "$1"
    WINEPREFIX=$(cd "$1" && pwd)
    export WINEPREFIX
  fi
}

vrel_editions() {
  sed -n 's/^\([a-z][a-z]\) .*/\1/p' "$VREL_ROOT/resources/editions/list"
}

vrel_default_edition() {
  vrel_editions | head -n 1
}

vrel_edition_own_name() {
  sed -n "s|^$1 .* / ||p" "$VREL_ROOT/resources/editions/list"
}

vrel_is_edition() {
  vrel_editions | grep -qx "$1"
}

# edition.conf is shell syntax: it is read by the shell, in a subshell.
vrel_edition_value() {
  (
    conf=$VREL_ROOT/resources/editions/$1/edition.conf
    [ -f "$conf" ] || exit 0
    . "$conf"
    eval "printf '%s\n' \"\${$2:-}\""
  )
}

# As CMakePresets.json names them: build/PRESET.
vrel_build_dir() {
  printf '%s\n' "$VREL_ROOT/build/$1"
}

vrel_program_dir() (
  build=${2:-$(vrel_build_dir windows)}
  if [ "$1" = "$(vrel_default_edition)" ]; then
    printf '%s\n' "$build/bin"
  else
    printf '%s\n' "$build/editions/$1"
  fi
)
