#!/usr/bin/env bash
# bench/import/compare.sh OTHER_BUILD [hands] [rounds]   (after scripts/build.sh)
#
# The bare import of this build beside another build's (an earlier commit,
# built with the same options), on the same realistic corpus, rounds
# interleaved. Two cases: into a new database, and again into the database
# that build filled with the corpus (every hand read a second time, as today's file
# is through the day). Prints the median processor time of each and the ratio
# of this build to the other.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
other="$(cd "$1" && pwd)"
hands="${2:-200000}"
rounds="${3:-5}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

"$build/kestrum_corpus" "$work/corpus" "$hands" 1
cat "$work"/corpus/* > /dev/null
# Each build fills its own database: an index one build makes and the other
# does not would otherwise cost the other its upkeep too.
"$build/bench_import" "$work/corpus" "$work/full-this.db3" > /dev/null
"$other/bench_import" "$work/corpus" "$work/full-other.db3" > /dev/null

: > "$work/results"
for round in $(seq "$rounds"); do
  for which in this other; do
    bin="$build/bench_import"; [ "$which" = other ] && bin="$other/bench_import"
    rm -f "$work/new.db3" "$work/again.db3"
    cp "$work/full-$which.db3" "$work/again.db3"
    new=$("$bin" "$work/corpus" "$work/new.db3" | awk '{ print $3 }')
    again=$("$bin" "$work/corpus" "$work/again.db3" | awk '{ print $3 }')
    echo "$which new $new" >> "$work/results"
    echo "$which again $again" >> "$work/results"
    echo "round $round  $which  new $new s  again $again s"
  done
done

awk '
  { t[$1 " " $2] = t[$1 " " $2] " " $3 }
  function median(list,   a, n, i, j, x) {
    n = split(list, a, " ")
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (a[j] + 0 < a[i] + 0) { x = a[i]; a[i] = a[j]; a[j] = x }
    return a[int((n + 1) / 2)]
  }
  END {
    for (k = 1; k <= 2; ++k) {
      c = k == 1 ? "new" : "again"
      m = median(t["this " c]); o = median(t["other " c])
      printf "%-6s this %.3f s  other %.3f s  ratio %.3f\n", c, m, o, m / o
    }
  }' "$work/results"
