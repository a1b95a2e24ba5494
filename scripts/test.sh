#!/usr/bin/env bash
# Sets everything up, builds the tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, runs the whole suite offscreen, then each fuzz
# target for a short while (scripts/fuzz.sh).
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
# these files, one per test program, a line "run<TAB>skipped<TAB>reasons" per
# case; the sums are shown so that a run which had to skip them (no CUPS on
# the machine) never passes for one that printed. The register's database
# tests do the same against a private PostgreSQL server.
counts="$root/build/test/cups/printing-tests"
dbcounts="$root/build/test/postgres/database-tests"
rm -f "$counts"*.txt "$dbcounts"*.txt
status=0
ctest --output-on-failure --parallel "$(nproc)" "$@" || status=$?
# The sums of one kind of count files: "WHAT (program): N run, M skipped".
show_counts() {
  local prefix=$1 what=$2 file program
  if ! compgen -G "$prefix*.txt" >/dev/null; then
    if [ "${CI:-}" = true ]; then echo "$what: none ran"; fi
    return
  fi
  for file in "$prefix"*.txt; do
    program=${file#"$prefix"-}; program=${program%.txt}
    awk -F'\t' -v program="$program" -v what="$what" '
      { run += $1; skipped += $2; if ($3 != "" && !seen[$3]++) reasons = reasons (reasons == "" ? "" : "; ") $3 }
      END {
        line = sprintf("%s (%s): %d run, %d skipped", what, program, run, skipped)
        if (skipped) line = line " (skipped: " reasons ")"
        print line
      }' "$file"
  done
}
show_counts "$counts" "Printing tests against the private CUPS server"
show_counts "$dbcounts" "Database tests against the private PostgreSQL server"
# A whole run ends with every fuzz target run for a short while on its
# corpus (RUD_FUZZ_SECONDS each, 20 by default; 0 leaves them out).
fuzz_seconds=${RUD_FUZZ_SECONDS:-20}
if [ $# -eq 0 ] && [ "$fuzz_seconds" != 0 ]; then
  bash "$root/scripts/fuzz.sh" "$fuzz_seconds" || status=1
fi
exit "$status"
