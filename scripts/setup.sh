#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks, then configures and builds.
# Usage: scripts/setup.sh run|test   (the build folder and options differ)
# Idempotent: a second run installs nothing and rebuilds only what changed.
set -euo pipefail
mode=${1:?usage: setup.sh run|test}
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(
  g++ clang libclang-rt-dev cmake ninja-build ccache pkg-config fpc
  qt6-base-dev libqt6printsupport6 libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev googletest libbenchmark-dev libpugixml-dev
  zlib1g-dev libpng-dev libjpeg-dev libicu-dev
  fonts-liberation fonts-wine fontconfig
  cups cups-bsd cups-client printer-driver-cups-pdf poppler-utils
  liblua5.4-dev
  libqt6sql6-sqlite libqt6sql6-psql postgresql
  libzip-dev libxlsxwriter-dev
  xvfb
  librsvg2-bin desktop-file-utils appstream dpkg-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

case "$mode" in
  run)  build="$root/build/run";  opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DRUD_SANITIZE=OFF -DRUD_TESTS=OFF) ;;
  test) build="$root/build/test"; opts=(-DCMAKE_BUILD_TYPE=Debug -DRUD_SANITIZE=ON -DRUD_TESTS=ON) ;;
  *) echo "usage: setup.sh run|test" >&2; exit 2 ;;
esac
# CI builds with warnings as errors.
if [ "${CI:-}" = true ]; then
  opts+=(-DRUD_WERROR=ON)
fi
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja "${opts[@]}" >/dev/null
fi
# Quiet on success: the progress lines are dropped, warnings and errors shown.
status=0
cmake --build "$build" --parallel "$(nproc)" > "$build/build.log" 2>&1 || status=$?
grep -vE '^\[[0-9]+/[0-9]+\] ' "$build/build.log" || true
if [ "$status" -ne 0 ]; then
  echo "Build failed (full log: $build/build.log)" >&2
  exit "$status"
fi
