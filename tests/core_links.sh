#!/usr/bin/env bash
# core_links.sh [--gui-allowed BINARY] BINARY...: fails when any binary would
# load a Qt library of the window (Gui, Widgets, OpenGL, Charts), directly or
# through another library. A binary named after --gui-allowed (kestrum-cli,
# which draws PDF statements) may load Qt Gui, and nothing more of the window.
set -euo pipefail
status=0
check() { # binary, pattern of what it must not load
  loaded=$(ldd "$1") || { echo "ldd failed on $1"; exit 1; }
  window=$(printf '%s\n' "$loaded" | awk '{ print $1 }' | grep -E "$2" || true)
  if [ -n "$window" ]; then
    echo "$(basename "$1") loads: $(echo $window)"
    status=1
  fi
}
count=$#
if [ "${1:-}" = "--gui-allowed" ]; then
  check "$2" '^libQt6(Widgets|OpenGL|OpenGLWidgets|Charts)'
  shift 2
fi
for binary in "$@"; do
  check "$binary" '^libQt6(Gui|Widgets|OpenGL|OpenGLWidgets|Charts)'
done
[ $status -eq 0 ] && echo "$count binaries load no Qt library of the window they must not"
exit $status
