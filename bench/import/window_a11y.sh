#!/usr/bin/env bash
# bench/import/window_a11y.sh [hands] [rounds] [top|walk]   (after scripts/build.sh)
#
# The import through the real window as assistive technology meets it: under
# Xvfb, with the accessibility bus running (at-spi-bus-launcher), the bridge
# forced on (QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) and a screen reader's kind of
# client listening (a11y_listener.py). Each round starts the real program,
# drives it over the bus alone (a11y_driver.py: list the folder, show both
# kinds, select all, press "Import Selected Files", wait for the count box) and
# counts its processor time from the press until the box is seen; then runs
# `kestrum-cli import` of the same folder into a new database and counts its
# whole process. Needs Debian's python3 and python3-pyatspi.
# Prints each round, the medians and the window's over the command line's, and
# checks that the status line's every text reached the bus.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
hands="${1:-50000}"
rounds="${2:-5}"
wait="${3:-top}"
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
files=$(ls "$work/corpus" | wc -l)
cat "$work"/corpus/* > /dev/null
: > "$work/results"
for round in $(seq "$rounds"); do
  rm -f "$work/win.db3" "$work/cli.db3"
  /usr/bin/python3 "$root/bench/import/a11y_driver.py" "$build/kestrum" "$work/corpus" "$work/win.db3" "$wait" \
    > "$work/round.txt"
  window=$(awk '/^window cpu/ { print $3 }' "$work/round.txt")
  /usr/bin/time -f "%U %S" -o "$work/time.txt" "$build/kestrum-cli" --database "$work/cli.db3" import "$work/corpus" \
    > /dev/null
  cli=$(awk '{ printf "%.3f", $1 + $2 }' "$work/time.txt")
  echo "round $round  window $window s  kestrum-cli $cli s"
  grep '^  thread' "$work/round.txt" || true
  echo "window $window" >> "$work/results"
  echo "cli $cli" >> "$work/results"
  echo "pair $(awk -v w="$window" -v c="$cli" 'BEGIN { printf "%.3f", w / c }')" >> "$work/results"
done
sleep 2 # the listener asks back for every event; let it finish
# Every file's text, "Building the date index ...", "Updating database ..." and the empty line.
heard=$(grep -c $'^object:property-change:accessible-name\tHHStatus' "$work/events.txt" || true)
echo "status texts heard on the bus: $heard of $((rounds * (files + 3)))"
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
    # Each round runs both within seconds, so its ratio is less swayed by
    # slower spells of the machine than the ratio of the medians.
    printf "median of the per-round ratios: %.3f\n", median(v["pair"])
  }' "$work/results"
