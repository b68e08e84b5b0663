#!/bin/bash
# Builds one fuzz target with clang's libFuzzer (address and undefined-behaviour
# checks; outside the CMake build, not part of the tests or CI) and runs it.
#   scripts/fuzz.sh [target] [seconds] [extra libFuzzer options...]
# Targets: import (hand-history files, the default), http (server replies),
# settings (the INI file), csv (the CSV writer over any result table).
# Needs clang-14 and libclang-rt-14-dev. Each target keeps its corpus in
# build-fuzz/<target>/corpus; findings land in build-fuzz/<target>/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
target=import
if [[ $# -gt 0 && ! $1 =~ ^[0-9]+$ ]]; then
  target=$1
  shift
fi
seconds=${1:-600}
shift || true
base=${FUZZ_BUILD:-$root/build-fuzz}
out=$base/$target
mkdir -p "$out/corpus" "$out/findings"

s=$root/src
qt=(Qt6Core)
options=(-max_len=16384 -timeout=10 -rss_limit_mb=2048)
case $target in
  import)
    sources=("$root/fuzz/ImportFuzz.cpp" "$s/platform/TextCodec.cpp" "$s/db/RakeDatabase.cpp" "$s/db/Statement.cpp" "$s/platform/RegularFile.cpp"
             "$s/import/HandParser.cpp" "$s/import/ImportFormat.cpp" "$s/import/PlayerLedger.cpp"
             "$s/import/RakeShares.cpp" "$s/import/StringList2.cpp")
    options+=(-dict="$root/fuzz/import.dict") ;;
  http)
    sources=("$root/fuzz/HttpReplyFuzz.cpp" "$s/sources/HttpReply.cpp")
    options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048) ;;
  settings)
    sources=("$root/fuzz/SettingsFuzz.cpp" "$s/platform/SettingsStore.cpp")
    options=(-max_len=2048 -timeout=10 -rss_limit_mb=2048) ;;
  csv)
    sources=("$root/fuzz/CsvFuzz.cpp" "$s/reports/CsvWriter.cpp" "$s/reports/DataView.cpp"
             "$s/platform/LocaleEncoding.cpp" "$s/db/RakeDatabase.cpp" "$s/db/Statement.cpp" "$s/db/Query.cpp" "$s/db/ResultTable.cpp")
    options=(-max_len=4096 -timeout=10 -rss_limit_mb=2048) ;;
  *)
    echo "unknown fuzz target: $target (import, http, settings, csv)" >&2
    exit 2 ;;
esac

binary=$out/${target}_fuzz
if [[ ! -x "$binary" ]] || [[ -n "$(find "${sources[@]}" "$root/src" -newer "$binary" -name '*.[ch]*' -print -quit)" ]]; then
  echo "building $binary"
  # shellcheck disable=SC2046
  clang++-14 -std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I "$s" $(pkg-config --cflags "${qt[@]}") \
    "${sources[@]}" -o "$binary" $(pkg-config --libs "${qt[@]}") -lsqlite3
fi

# Seeds, made by our own code when the corpus is empty.
if [[ -z "$(ls -A "$out/corpus")" ]]; then
  if [[ $target == import ]]; then
    # A few small generated hand histories, cut into pieces of a few KB.
    corpus_tool=$(ls "$root"/build*/kestrum_corpus 2>/dev/null | head -1 || true)
    if [[ -n "$corpus_tool" ]]; then
      tmp=$(mktemp -d)
      "$corpus_tool" "$tmp" 60 7 >/dev/null
      for f in "$tmp"/*.txt; do
        split -b 4000 -d "$f" "$out/corpus/seed-$(basename "$f" .txt | tr -c 'A-Za-z0-9\n' '_')-"
      done
      rm -rf "$tmp"
    fi
  else
    python3 "$root/fuzz/make_seeds.py" "$target" "$out/corpus"
  fi
fi

# The settings and CSV targets write a file per input: keep that in memory.
[[ -d /dev/shm && -w /dev/shm ]] && export TMPDIR=${TMPDIR:-/dev/shm}

cd "$out/findings"
exec "$binary" -max_total_time="$seconds" "${options[@]}" -print_final_stats=1 "$@" "$out/corpus"
