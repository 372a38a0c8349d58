#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs each in turn
# for SECONDS (default 60) on its seed corpus, then prints one table row per
# target: executions, executions a second, coverage edges, findings.
#
#   scripts/fuzz.sh [SECONDS]
#
# New inputs go to a fresh directory per target (the committed seeds stay as
# they are); a finding is saved as found/<target>/crash-… (or leak-, timeout-,
# oom-) and ends that target's run. Each run's log is kept beside it as
# found/<target>/log. FUZZ_JOBS sets the build's parallelism (default 2).
set -euo pipefail

seconds="${1:-60}"
case "$seconds" in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-fuzz"
found="$root/found"
launcher=()
if command -v ccache > /dev/null; then
  launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DORIVANE_FUZZ=ON -DORIVANE_TESTS=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" > /dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-2}" > /dev/null

work="$(mktemp -d "${TMPDIR:-/tmp}/orivane-fuzz-run-XXXXXX")"
trap 'rm -rf "$work"' EXIT

rows=()
for program in "$build"/fuzz/*_fuzz; do
  [ -x "$program" ] || continue
  target="$(basename "$program")"
  corpus="$root/fuzz/corpus/${target%_fuzz}"
  out="$found/$target"
  mkdir -p "$out" "$work/$target"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  # A slow input (2 s) or a large one (2 GB) counts as a finding too.
  "$program" -max_total_time="$seconds" -timeout=2 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$out/" "$work/$target" "${seeds[@]}" > "$out/log" 2>&1 || true
  executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$out/log" | tail -n 1)"
  per_second="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$out/log" | tail -n 1)"
  edges="$(grep -o 'cov: [0-9]*' "$out/log" | tail -n 1 | cut -d' ' -f2)"
  findings="$(find "$out" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
    -o -name 'oom-*' \) | wc -l)"
  rows+=("$(printf '%-28s %12s %10s %8s %9s' "$target" "${executions:-?}" "${per_second:-?}" \
    "${edges:-?}" "$findings")")
done

printf '%-28s %12s %10s %8s %9s\n' target executions exec/s edges findings
printf '%s\n' "${rows[@]}"
