#!/usr/bin/env bash
# Configures (once) and builds Kestrum in build/; incremental when run again.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
werror=OFF; [ "${CI:-}" = "true" ] && werror=ON
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUM_WERROR=$werror
fi
cmake --build "$build" -j "$(nproc)" "$@"
