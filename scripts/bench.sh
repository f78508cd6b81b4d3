#!/usr/bin/env bash
# Installs the packages, builds the benchmarks (Release, into ./build-bench)
# and runs every one of them, then prints one table of their figures.
# Each benchmark's whole output is kept in build-bench/bench-logs/.
#
#   bash scripts/bench.sh [--no-build]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-bench
logs=$build/bench-logs

if [ "${1:-}" != "--no-build" ]; then
  bash scripts/install-deps.sh
  launcher=()
  if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMORRA_BUILD_TESTS=OFF -DLUMORRA_BUILD_BENCH=ON \
        "${launcher[@]}"
  targets=()
  for src in bench/bench_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
  cmake --build "$build" --parallel "$(nproc)" --target "${targets[@]}"
fi

export QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1
mkdir -p "$logs"
results=$logs/results.tsv
: > "$results"
failed=()

# name, then its arguments (kept short so the whole run takes a few minutes)
runs=(
  "bench_cutting"
  "bench_fetch_wait 5000"
  "bench_clouddisk_search 200"
  "bench_search_all 3 150"
  "bench_feed 50 20 100"
  "bench_listing_latency 10"
  "bench_process_watch 3 200"
  "bench_idle 5 200"
  "bench_startup 5"
  "bench_memory 100 12"
)
for run in "${runs[@]}"; do
  read -r name args <<<"$run"
  exe=$build/bench/$name
  echo "== $run"
  if [ ! -x "$exe" ]; then
    echo "   (not built)"; failed+=("$name"); continue
  fi
  start=$(date +%s)
  # shellcheck disable=SC2086
  if "$exe" $args >"$logs/$name.txt" 2>"$logs/$name.err"; then :; else failed+=("$name"); fi
  grep -v $'^RESULT\t' "$logs/$name.txt" | sed 's/^/   /' || true
  grep $'^RESULT\t' "$logs/$name.txt" | cut -f2- >>"$results" || true
  echo "   ($(( $(date +%s) - start )) s)"
done

echo
echo "Benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD 2>/dev/null || echo '?')," \
     "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
{
  printf 'figure\tvalue\tunit\tratio / aim\n'
  printf -- '------\t-----\t----\t-----------\n'
  cat "$results"
} | awk -F'\t' '
  { for (i = 1; i <= 4; i++) { cell[NR, i] = $i; if (length($i) > width[i]) width[i] = length($i) } rows = NR }
  END {
    for (r = 1; r <= rows; r++)
      printf "%-" width[1] "s  %" width[2] "s  %-" width[3] "s  %s\n", cell[r, 1], cell[r, 2], cell[r, 3], cell[r, 4]
  }'
if [ ${#failed[@]} -gt 0 ]; then
  echo
  echo "FAILED: ${failed[*]} (see $logs/<name>.err)"
  exit 1
fi
