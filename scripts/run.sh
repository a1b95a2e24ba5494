#!/usr/bin/env bash
# Sets everything up, builds without sanitizers and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" run
exec "$root/build/run/Quorvel_A5"
