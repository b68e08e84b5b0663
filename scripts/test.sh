#!/usr/bin/env bash
# Sets up, builds and runs every test (unit, widget and the smoke test under Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "${KESTRUM_BUILD_DIR:-$root/build}"
ctest --output-on-failure -j "$(nproc)"
