#!/usr/bin/env bash
# bench/import/run.sh [hands] [rounds]   (after scripts/build.sh)
#
# The import at the engine's pace: a realistic folder (kestrum_corpus: mixed
# encodings and line ends, ring and tournament files) imported by the bare
# import (bench_import), through the window offscreen (bench_window_import)
# and by kestrum-cli, each beside the floor (bench_floor: the same bytes read
# and the same rows written with the same engine calls, no Qt). Rounds are
# interleaved so that none gains from running last. Every run's rows are
# checked against the first import's. Prints best and median processor time
# (all threads), the ratios to the floor, and peak memory.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
hands="${1:-200000}"
rounds="${2:-3}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
"$build/kestrum_corpus" "$work/corpus" "$hands" 1
largest=$(find "$work/corpus" -type f -printf '%s\n' | sort -n | tail -1)
echo "corpus: $(du -sm "$work/corpus" | cut -f1) MB, largest file $((largest / 1024)) KB"

rows() {
  # Every byte of every text and every bit of every real (17 digits), with the storage classes.
  sqlite3 "$1" "SELECT Hand, hex(TableName), hex(Date), hex(Time), printf('%.17g', Rake), Dealt,
                       printf('%.17g', AvgShare), typeof(TableName), typeof(Rake), typeof(AvgShare)
                FROM Master ORDER BY Hand;
                SELECT Hand, hex(Player), printf('%.17g', Share), typeof(Player), typeof(Share)
                FROM Detail ORDER BY Hand, Player;" | md5sum | cut -d' ' -f1
}
"$build/kestrum-cli" --database "$work/rows.db3" import "$work/corpus" > /dev/null
reference=$(rows "$work/rows.db3")
cat "$work"/corpus/* > /dev/null # every run reads from the page cache alike
mimalloc=$(ldd "$build/kestrum-cli" | awk '/libmimalloc/ { print $3 }')

: > "$work/results"
for round in $(seq "$rounds"); do
  for what in floor tuned bare window cli; do
    rm -rf "$work/out" && mkdir "$work/out"
    case $what in
      floor) run=("$build/bench_floor" "$work/corpus" "$work/rows.db3" "$work/out/Kestrum2.db3") ;;
      tuned) run=(env LD_PRELOAD="$mimalloc" "$build/bench_floor" "$work/corpus" "$work/rows.db3"
                  "$work/out/Kestrum2.db3" tuned) ;;
      bare) run=("$build/bench_import" "$work/corpus" "$work/out/Kestrum2.db3") ;;
      window) run=("$build/bench_window_import" "$work/corpus" "$work/out") ;;
      cli) run=("$build/kestrum-cli" --database "$work/out/Kestrum2.db3" import "$work/corpus") ;;
    esac
    /usr/bin/time -v -o "$work/time.txt" "${run[@]}" > "$work/out.txt"
    if [ "$what" = cli ]; then # the whole process
      cpu=$(awk -F': ' '/User time/ { u = $2 } /System time/ { s = $2 } END { printf "%.3f", u + s }' "$work/time.txt")
    else # from the press (or the start of the run) to the count
      cpu=$(awk '{ for (i = 1; i < NF; ++i) if ($i == "cpu") { print $(i + 1); exit } }' "$work/out.txt")
    fi
    rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
    if [ "$(rows "$work/out/Kestrum2.db3")" != "$reference" ]; then
      echo "$what wrote other rows than the first import" >&2
      exit 1
    fi
    echo "$what $cpu $rss" >> "$work/results"
    echo "round $round  $what  cpu $cpu s  peak $((rss / 1024)) MB  $(head -1 "$work/out.txt")"
  done
done

echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
awk -v largest="$largest" '
  { cpu[$1] = cpu[$1] " " $2; if ($3 > rss[$1]) rss[$1] = $3 }
  function sorted(list, out,   n, i, j, t) {
    n = split(list, out, " ")
    for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (out[j] + 0 < out[i] + 0) { t = out[i]; out[i] = out[j]; out[j] = t }
    return n
  }
  END {
    nf = sorted(cpu["floor"], f); fbest = f[1]; fmed = f[int((nf + 1) / 2)]
    nt = sorted(cpu["tuned"], t); tbest = t[1]; tmed = t[int((nt + 1) / 2)]
    split("floor tuned bare window cli", order, " ")
    names["floor"] = "floor (bench_floor, the engine as it comes)"
    names["tuned"] = "floor tuned (configured and allocating as the program)"
    names["bare"] = "bare import (bench_import)"
    names["window"] = "through the window (bench_window_import)"; names["cli"] = "kestrum-cli import"
    goal["bare"] = 1.15; goal["window"] = 1.25; goal["cli"] = 1.15
    for (k = 1; k <= 5; ++k) {
      w = order[k]; n = sorted(cpu[w], v); best = v[1]; med = v[int((n + 1) / 2)]
      line = sprintf("%-56s best %7.3f s  median %7.3f s  peak %4d MB", names[w], best, med, rss[w] / 1024)
      if (w != "floor" && w != "tuned")
        line = line sprintf("  ratio %.2f best, %.2f median (goal <= %.2f); to the tuned floor %.2f, %.2f",
                            best / fbest, med / fmed, goal[w], best / tbest, med / tmed)
      print line
    }
    printf "peak memory bound: largest file x 4 + 60 MB = %d MB\n", (largest * 4) / 1048576 + 60
  }' "$work/results"
