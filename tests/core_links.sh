#!/usr/bin/env bash
# core_links.sh BINARY...: fails when any binary would load a Qt library of
# the window (Gui, Widgets, OpenGL, Charts), directly or through another library.
set -euo pipefail
status=0
for binary in "$@"; do
  loaded=$(ldd "$binary") || { echo "ldd failed on $binary"; exit 1; }
  window=$(printf '%s\n' "$loaded" | awk '{ print $1 }' | grep -E '^libQt6(Gui|Widgets|OpenGL|OpenGLWidgets|Charts)' || true)
  if [ -n "$window" ]; then
    echo "$(basename "$binary") loads: $(echo $window)"
    status=1
  fi
done
[ $status -eq 0 ] && echo "$# binaries load no Qt library of the window"
exit $status
