#!/usr/bin/env bash
# Installs the Debian packages Kestrum needs to build, test and run (as root, or via sudo).
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libqt6opengl6-dev qt6-charts-dev
          libsqlite3-dev libmimalloc-dev sqlite3 clang-format googletest libgtest-dev libgmock-dev libbenchmark-dev
          libx11-dev xvfb xauth x11-utils imagemagick openssl python3 fonts-dejavu-core time
          dpkg-dev librsvg2-bin desktop-file-utils appstream util-linux lintian groff-base gzip)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
