#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with clang in build/fuzz and
# runs each for SECONDS (default 20) on its corpus, one after the other.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (targets: see tests/fuzz)
# A longer run, e.g. an hour each:  scripts/fuzz.sh 3600
# New inputs that reach new code are kept in build/fuzz/corpus/TARGET; a
# crash, leak or time-out fails the run and leaves its input in
# build/fuzz/crashes/TARGET/ (replay: build/fuzz/fuzz_TARGET FILE).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
shift || true
build="$root/build/fuzz"
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRUD_FUZZ=ON -DRUD_TESTS=OFF -DRUD_WERROR="$([ "${CI:-}" = true ] && echo ON || echo OFF)" >/dev/null
fi
status=0
cmake --build "$build" --target fuzz_targets --parallel "$(nproc)" > "$build/build.log" 2>&1 || status=$?
grep -vE '^\[[0-9]+/[0-9]+\] ' "$build/build.log" || true
if [ "$status" -ne 0 ]; then
  echo "Fuzz build failed (full log: $build/build.log)" >&2
  exit "$status"
fi

targets=("$@")
if ((${#targets[@]} == 0)); then
  for source in "$root"/tests/fuzz/corpus/*/; do targets+=("$(basename "$source")"); done
fi
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=()
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target" crashes="$build/crashes/$target" work="$build/work/$target"
  mkdir -p "$corpus" "$crashes" "$work" "$build/logs"
  log="$build/logs/$target.log"
  started=$SECONDS
  # Scripts may write files: they land in a folder of their own.
  if (cd "$work" && "$build/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -dict="$root/tests/fuzz/$target.dict" \
        -artifact_prefix="$crashes/" "$corpus" "$root/tests/fuzz/corpus/$target") > "$log" 2>&1; then
    result=ok
  else
    result=FAILED; failed+=("$target")
  fi
  # The last status line: executions, coverage, features, corpus.
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "fuzz $target: $result, $((SECONDS - started)) s, ${speed:-?} exec/s; $last"
done
if ((${#failed[@]})); then
  # The failures' reports come last: a CI log may keep only its end.
  for target in "${failed[@]}"; do
    echo "---- fuzz $target: the report (whole log: $build/logs/$target.log)" >&2
    grep -E '^==[0-9]+==|runtime error|^ALARM|^SUMMARY|^ +#[0-9]+ 0x|^Test unit written' \
      "$build/logs/$target.log" | head -n 30 >&2 || true
    # The input itself, small enough to be carried by a log: gzip | base64.
    for input in "$build/crashes/$target"/*; do
      [ -f "$input" ] || continue
      echo "input $(basename "$input") ($(stat -c %s "$input") bytes), gzip | base64:" >&2
      gzip -9c "$input" | base64 -w 120 | head -n 40 >&2
    done
  done
  echo "Fuzz targets that failed: ${failed[*]} (inputs in $build/crashes, logs in $build/logs)" >&2
  exit 1
fi
