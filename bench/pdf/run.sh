#!/usr/bin/env bash
# The list benchmark: a 50,000-row list (926 A4 pages) to PDF through
# `rudreport render`, against the same list drawn by ReportLab's canvas,
# run back to back (alternating, best of N each) so that the ratios hold on
# a loaded machine. Prints times, sizes and their ratios, and whether both
# PDFs give the same words.
#
# Usage: bench/pdf/run.sh [BUILD_DIR] [ROWS] [RUNS]
# BUILD_DIR holds rudreport (default build/run, a RelWithDebInfo build).
#
# ReportLab is the reference only, never a dependency of the program, so it
# (and the list's font) is installed here, idempotently, rather than by
# scripts/setup.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$root/build/run}" && pwd)
rows=${2:-50000}
runs=${3:-3}
python=/usr/bin/python3 # the system's Python, where the Debian package installs

# The list is set in DejaVu Sans, which both programs embed from its file.
missing=()
for p in python3-reportlab fonts-dejavu-core; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$work}"

PYTHONPATH="$here" "$python" - "$rows" "$work/rows.csv" <<'PY'
import csv, sys
from rows import rows
with open(sys.argv[2], "w", newline="", encoding="utf-8") as f:
    w = csv.writer(f)
    w.writerow(["Name", "Group", "Date", "Hours"])
    w.writerows(rows(int(sys.argv[1])))
PY

source "$here/timing.sh"
best_ours=0 best_ref=0
for ((i = 0; i < runs; i++)); do
  best_of best_ours "$build/rudreport" render "$here/list.fr3" "$work/ours.pdf" --data "Rows=$work/rows.csv"
  best_of best_ref env PYTHONPATH="$here" "$python" "$here/reference.py" "$rows" "$work/ref.pdf"
done
size_ours=$(stat -c %s "$work/ours.pdf")
size_ref=$(stat -c %s "$work/ref.pdf")
printf 'rows %d, pages %s\n' "$rows" "$(pdfinfo "$work/ours.pdf" | awk '/^Pages:/ {print $2}')"
"$python" -c 'import sys
t1, t2, s1, s2 = map(int, sys.argv[1:])
print(f"time  rudreport {t1 / 1e9:.2f} s  reportlab {t2 / 1e9:.2f} s  ratio {t1 / t2:.2f}")
print(f"size  rudreport {s1} B  reportlab {s2} B  ratio {s1 / s2:.2f}")' "$best_ours" "$best_ref" "$size_ours" "$size_ref"
words() { pdftotext "$1" - | tr -s '[:space:]' '\n' | sort | md5sum | cut -c1-32; }
if [ "$(words "$work/ours.pdf")" = "$(words "$work/ref.pdf")" ]; then
  echo "words the same"
else
  echo "words differ"
fi
