#!/usr/bin/env bash
# The certificate command against Qt alone: `Quorvel_A5 --pdf` of one
# certificate (certificate.vod here) and minimal_pdf writing the template's
# 48 strings to an A5 PDF, alternating, best of N each; prints the times
# and their ratio.
#
# Usage: bench/pdf/certificate.sh [BUILD_DIR] [RUNS]
# BUILD_DIR holds Quorvel_A5 and minimal_pdf (default build/run, configured
# with -DRUD_BENCH=ON).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/run}" && pwd)
runs=${2:-20}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"
# The program keeps its settings and register in the user's folders: a
# private home keeps the run away from the real ones.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

source "$here/timing.sh"
best_app=0 best_qt=0
for ((i = 0; i < runs; i++)); do
  best_of best_app "$build/Quorvel_A5" --pdf "$here/certificate.vod" "$work/app.pdf"
  best_of best_qt "$build/minimal_pdf" "$work/qt.pdf"
done
printf 'Quorvel_A5 --pdf %d ms  minimal Qt %d ms  ratio %s\n' $((best_app / 1000000)) $((best_qt / 1000000)) \
  "$(awk -v a="$best_app" -v b="$best_qt" 'BEGIN { printf "%.2f", a / b }')"
