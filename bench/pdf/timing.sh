# Sourced by the bench scripts beside it: best_of VAR command... runs the
# command once and keeps in VAR the shortest wall time seen (nanoseconds);
# a command that fails stops the script instead of being timed.
best_of() {
  local var=$1 t0 t
  shift
  t0=$(date +%s%N)
  "$@" >/dev/null || { echo "failed: $*" >&2; exit 1; }
  t=$(($(date +%s%N) - t0))
  if ((${!var:-0} == 0 || t < ${!var})); then printf -v "$var" '%s' "$t"; fi
}
