#!/usr/bin/env bash
# Sets up, builds the two programs and makes the Debian package build/kestrum_<version>_<arch>.deb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KESTRUM_BUILD_DIR:-$root/build}"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" --target kestrum kestrum-cli kestrum_icons kestrum_docs
cd "$build"
cpack -G DEB
ls "$build"/kestrum_*.deb
