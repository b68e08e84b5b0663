#!/usr/bin/env bash
# Sets up, builds and starts Kestrum. The database file Kestrum2.db3 is kept beside the executable (build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target kestrum
exec "${KESTRUM_BUILD_DIR:-$root/build}/kestrum"
