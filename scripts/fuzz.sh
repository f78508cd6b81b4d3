#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang-14 into ./build-fuzz and
# runs each for a while, then prints one line per target.
#
#   bash scripts/fuzz.sh                 # the short run: 30 s per target (CI)
#   bash scripts/fuzz.sh --seconds 600   # the long run: 10 min per target
#   bash scripts/fuzz.sh --seconds 60 fuzz_video fuzz_emule
#
# Each target starts from its seeds (fuzz/seeds/<target>/) and keeps what it
# learns in build-fuzz/corpus/<target>/ for the next run. An input that
# crashes, hangs (over 10 s) or runs out of memory is saved under
# build-fuzz/artifacts/<target>/ and the script fails; copy it to
# fuzz/regressions/<target>/ with the fix, and the normal test run replays it
# for good (test <target>_replay).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --seconds=*) seconds="${1#*=}"; shift ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    *) targets+=("$1"); shift ;;
  esac
done

bash scripts/install-deps.sh
if ! command -v clang++-14 >/dev/null || ! dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q 'install ok installed'; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends clang-14 libclang-rt-14-dev
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
      -DLUMORRA_FUZZ=ON -DLUMORRA_BUILD_TESTS=OFF -DLUMORRA_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target lumorra_fuzzers --parallel "$(nproc)"

if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi

# Qt keeps a few process-wide caches for good; they are no leak of an input.
export ASAN_OPTIONS="detect_leaks=0:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
summary=()
for t in "${targets[@]}"; do
  corpus="build-fuzz/corpus/$t"
  artifacts="build-fuzz/artifacts/$t"
  log="build-fuzz/logs/$t.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")" "fuzz/seeds/$t"
  echo "== $t: ${seconds} s"
  status=ok
  if ! "build-fuzz/fuzz/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "fuzz/seeds/$t" >"$log" 2>&1; then
    status="FAILED: $(grep -m1 -oE 'ERROR: [^ ]+.*|SUMMARY: .*' "$log" | head -c 120) ($(ls -t "$artifacts" | head -1))"
    failed=1
  fi
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$' || echo '?')
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 | grep -oE '[0-9]+' || echo '?')
  units=$(find "$corpus" -type f | wc -l)
  summary+=("$(printf '%-22s %10s runs  cov %6s  corpus %6s  %s' "$t" "$runs" "$cov" "$units" "$status")")
done

echo
echo "fuzz run of $(date -u +%Y-%m-%d), ${seconds} s per target, $(git rev-parse --short HEAD):"
printf '%s\n' "${summary[@]}"
exit $failed
