#!/usr/bin/env bash
# Sets everything up, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs the whole suite offscreen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" test
export QT_QPA_PLATFORM=offscreen
# Without a runtime folder Qt warns on stderr, which the command-line tests read.
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
cd "$root/build/test"
# The printing tests print to a private CUPS server and count themselves in
# these files, one per test program; the counts are shown so that a run
# which had to skip them (no CUPS on the machine) never passes for one that
# printed.
# The register's database tests do the same against a private PostgreSQL
# server.
counts="$root/build/test/cups/printing-tests"
dbcounts="$root/build/test/postgres/database-tests"
rm -f "$counts"*.txt "$dbcounts"*.txt
status=0
ctest --output-on-failure --parallel "$(nproc)" "$@" || status=$?
if compgen -G "$counts*.txt" >/dev/null; then
  cat "$counts"*.txt
elif [ "${CI:-}" = true ]; then
  echo "Printing tests against the private CUPS server: none ran"
fi
if compgen -G "$dbcounts*.txt" >/dev/null; then
  cat "$dbcounts"*.txt
elif [ "${CI:-}" = true ]; then
  echo "Database tests against the private PostgreSQL server: none ran"
fi
exit "$status"
