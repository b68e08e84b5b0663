#!/bin/bash
# Builds the import fuzz target with clang's libFuzzer (outside the CMake build,
# not part of the tests or CI) and runs it.
#   scripts/fuzz.sh [seconds] [extra libFuzzer options...]
# Needs clang-14 and libclang-rt-14-dev. Findings land in build-fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-600}
shift || true
mkdir -p "$out/corpus" "$out/findings"

sources=(
  "$root/fuzz/ImportFuzz.cpp"
  "$root/src/platform/TextCodec.cpp"
  "$root/src/db/RakeDatabase.cpp"
  "$root/src/import/HandParser.cpp"
  "$root/src/import/ImportFormat.cpp"
  "$root/src/import/PlayerLedger.cpp"
  "$root/src/import/RakeShares.cpp"
  "$root/src/import/StringList2.cpp"
)
if [[ ! -x "$out/import_fuzz" ]] || [[ -n "$(find "${sources[@]}" "$root/src" -newer "$out/import_fuzz" -name '*.[ch]*' -print -quit)" ]]; then
  echo "building $out/import_fuzz"
  # shellcheck disable=SC2046
  clang++-14 -std=c++20 -g -O1 -fPIC -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I "$root/src" $(pkg-config --cflags Qt6Core) \
    "${sources[@]}" -o "$out/import_fuzz" $(pkg-config --libs Qt6Core) -lsqlite3
fi

# Seeds: a few small generated hand histories, cut into pieces of a few KB.
if [[ -z "$(ls -A "$out/corpus")" ]]; then
  corpus_tool=$(ls "$root"/build*/kestrum_corpus 2>/dev/null | head -1 || true)
  if [[ -n "$corpus_tool" ]]; then
    tmp=$(mktemp -d)
    "$corpus_tool" "$tmp" 60 7 >/dev/null
    for f in "$tmp"/*.txt; do
      split -b 4000 -d "$f" "$out/corpus/seed-$(basename "$f" .txt | tr -c 'A-Za-z0-9\n' '_')-"
    done
    rm -rf "$tmp"
  fi
fi

cd "$out/findings"
exec "$out/import_fuzz" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -dict="$root/fuzz/import.dict" -print_final_stats=1 "$@" "$out/corpus"
