#!/usr/bin/env bash
# kestrum-cli import of the import benchmark's corpus, timed as a whole
# process (CPU time of all threads, peak memory) beside the benchmark's floor.
#   bench/cli/cli_import.sh [hands] [seed]     (after scripts/build.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
hands="${1:-200000}"
seed="${2:-1}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

KESTRUM_BENCH_CORPUS="$work/corpus" "$build/bench_import" "$hands" "$seed" | tee "$work/bench.txt"
floor=$(awk '/^floor/ { for (i = 1; i <= NF; ++i) if ($i == "cpu") { print $(i + 1); exit } }' "$work/bench.txt")

best=""
for round in 1 2 3; do
  rm -f "$work/cli.db3"
  /usr/bin/time -v -o "$work/time.txt" "$build/kestrum-cli" --database "$work/cli.db3" import "$work/corpus" \
    > "$work/out.txt"
  cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { printf "%.3f", u + s }' "$work/time.txt")
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
  if [ -z "$best" ] || awk "BEGIN { exit !($cpu < $best) }"; then best=$cpu; bestRss=$rss; fi
done
echo "kestrum-cli import: $(tail -1 "$work/out.txt")"
printf '%-46s cpu %7.3f s, peak %d MB (best of 3, whole process)\n' "kestrum-cli import" "$best" $((bestRss / 1024))
awk "BEGIN { printf \"ratio kestrum-cli / floor: %.2f cpu\n\", $best / $floor }"
