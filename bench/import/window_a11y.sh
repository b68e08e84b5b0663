#!/usr/bin/env bash
# bench/import/window_a11y.sh [hands] [rounds]   (after scripts/build.sh)
#
# The import through the real window as assistive technology meets it: under
# Xvfb, with the accessibility bus running (at-spi-bus-launcher), the bridge
# forced on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) and a listening client
# (a11y_listener.py, with Debian's python3 and python3-pyatspi), beside `kestrum-cli import` of the
# same folder, rounds interleaved. The window's figure is its processor time
# from the press until its count box is shown; the command line's is its
# whole process.
# Prints the medians and the window's over the command line's.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
hands="${1:-50000}"
rounds="${2:-5}"
if [ -z "${KESTRUM_A11Y_SESSION:-}" ]; then
  exec env KESTRUM_A11Y_SESSION=1 xvfb-run -a dbus-run-session -- "$0" "$@"
fi
work="$(mktemp -d)"
/usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
launcher=$!
sleep 1
/usr/bin/python3 "$root/bench/import/a11y_listener.py" "$work/events.txt" &
listener=$!
trap 'kill $listener $launcher 2> /dev/null; rm -rf "$work"' EXIT
sleep 2
"$build/kestrum_corpus" "$work/corpus" "$hands" 1
cat "$work"/corpus/* > /dev/null
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
: > "$work/results"
for round in $(seq "$rounds"); do
  rm -rf "$work/win" && mkdir "$work/win"
  window=$("$build/bench_window_import" "$work/corpus" "$work/win" --real-box 2> /dev/null | awk '{ print $3 }')
  rm -f "$work/cli.db3"
  /usr/bin/time -f "%U %S" -o "$work/time.txt" "$build/kestrum-cli" --database "$work/cli.db3" import "$work/corpus" > /dev/null
  cli=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time.txt")
  echo "round $round  window $window s  kestrum-cli $cli s"
  echo "window $window" >> "$work/results"
  echo "cli $cli" >> "$work/results"
done
echo "status texts heard on the bus: $(grep -c 'accessible-name' "$work/events.txt" || true)"
awk '
  { v[$1] = v[$1] " " $2 }
  function median(list,   a, n, i, j, t) {
    n = split(list, a, " ")
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] + 0 < a[i] + 0) { t = a[i]; a[i] = a[j]; a[j] = t }
    return a[int((n + 1) / 2)]
  }
  END {
    w = median(v["window"]); c = median(v["cli"])
    printf "median: window %.3f s, kestrum-cli %.3f s, window / kestrum-cli %.3f (goal <= 1.10)\n", w, c, w / c
  }' "$work/results"
