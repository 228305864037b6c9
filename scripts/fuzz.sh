#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for SECONDS seconds each (default 30),
# or until RUNS executions when a RUNS is given; naming TARGETs runs only those.
#   scripts/fuzz.sh [SECONDS [RUNS [TARGET...]]]
# from the seeds in fuzz/corpus/<target>/ and the dictionary fuzz/<target>.dict when there
# are some. New inputs go to build-fuzz/corpus/<target>/, findings to build-fuzz/findings/.
# Prints one line of figures per target; exits non-zero when a target finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
runs_limit=${2:--1}  # libFuzzer stops after the seeds with 0; -1 is no limit
wanted=("${@:3}")
build_dir=build-fuzz

cmake --preset fuzz >/dev/null
mapfile -t lines < "$build_dir/fuzz_targets.txt"
targets=()
selected=()
for line in "${lines[@]}"; do
  name=${line%%$'\t'*}
  if [ ${#wanted[@]} -eq 0 ] || [[ " ${wanted[*]} " == *" $name "* ]]; then
    targets+=("$name")
    selected+=("$line")
  fi
done
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz target named ${wanted[*]}" >&2; exit 2; }
lines=("${selected[@]}")
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"

failed=0
mkdir -p "$build_dir/findings"
for line in "${lines[@]}"; do
  name=${line%%$'\t'*}
  program=${line#*$'\t'}
  work="$build_dir/corpus/$name"
  mkdir -p "$work"
  args=(-max_total_time="$seconds" -print_final_stats=1 -runs="$runs_limit" -timeout=10 -rss_limit_mb=2048
        -artifact_prefix="$build_dir/findings/$name-")
  [ -f "fuzz/$name.dict" ] && args+=(-dict="fuzz/$name.dict")
  seeds=()
  [ -d "fuzz/corpus/$name" ] && seeds+=("fuzz/corpus/$name")
  log="$build_dir/$name.log"
  if "$program" "${args[@]}" "$work" "${seeds[@]}" >"$log" 2>&1; then
    status=ok
  else
    status=FAILED
    failed=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)
  printf '%-28s %-6s %12s execs  cov %6s  ft %6s  (%s)\n' "$name" "$status" "$runs" "$cov" \
    "$ft" "$log"
  [ "$status" = ok ] || tail -n 40 "$log"
done
exit "$failed"
