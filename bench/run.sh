#!/usr/bin/env bash
# Builds the program and the benchmarks (build-bench/, -DTRALK_BENCH=ON), then
# runs the Google Benchmark suite of inner operations and times whole runs of
# the program on generated workloads, printing each figure beside its target.
#
#   bench/run.sh [--runs N] [--baseline PATH_TO_OTHER_TRALK]
#                [--micro-only | --whole-only | --import-only | --pack-only]
#
# --runs N      whole runs per case and repetitions per benchmark (default 5)
# --baseline P  also time the program P on the same inputs, each run paired
#               with one of this build, and compare their outputs byte for byte
# The font importer's benchmark runs last, where FreeType lets it be built.
#
# Environment: BENCH_BUILD_DIR (default build-bench), BENCH_JOBS (default 2).
# Workloads (about 170 MB) go to a temporary folder and are removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
baseline=""
micro=1
whole=1
importer=1
packer=1
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs="$2"; shift 2 ;;
    --baseline) baseline="$2"; shift 2 ;;
    --micro-only) whole=0; importer=0; packer=0; shift ;;
    --whole-only) micro=0; importer=0; packer=0; shift ;;
    --import-only) micro=0; whole=0; packer=0; shift ;;
    --pack-only) micro=0; whole=0; importer=0; shift ;;
    -h|--help) sed -n '2,15p' "$0"; exit 0 ;;
    *) echo "bench/run.sh: unknown option $1 (see --help)" >&2; exit 2 ;;
  esac
done
build="${BENCH_BUILD_DIR:-build-bench}"
jobs="${BENCH_JOBS:-2}"

# Google Benchmark comes from Debian's libbenchmark-dev; the timer uses only
# the C library (wait4 reports each run's CPU time and peak memory).
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
[ -e /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ]; then
    apt-get update -qq && apt-get install -y -qq "${need[@]}"
  else
    echo "bench/run.sh: missing ${need[*]}; install with: sudo apt-get install ${need[*]}" >&2
    exit 1
  fi
fi

cmake -S . -B "$build" -DTRALK_BENCH=ON >/dev/null
cmake --build "$build" -j"$jobs" --target tralk tralk_microbench tralk_timebench tralk_scan_numbers >/dev/null

if [ "$packer" = 1 ]; then
  cmake --build "$build" -j"$jobs" --target tralk-pack tralk_packbench >/dev/null
  echo "== tralk-pack: a chip of 20 images and its HEX file"
  "$build/bench/tralk_packbench" --pack "$build/tralk-pack" --runs "$runs"
  echo
fi
if [ "$micro" = 1 ]; then
  echo "== Inner operations (Google Benchmark; rates from CPU time; compare the _median lines)"
  "$build/bench/tralk_microbench" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=true
  echo
fi
if [ "$whole" = 1 ]; then
  echo "== Whole runs of tralk"
  args=(--tralk "$build/tralk" --scan "$build/bench/tralk_scan_numbers" --runs "$runs")
  [ -n "$baseline" ] && args+=(--baseline "$baseline")
  "$build/bench/tralk_timebench" "${args[@]}"
fi
# Whole imports of a large font, where FreeType lets the importer be built.
if [ "$importer" = 1 ] &&
   cmake --build "$build" -j"$jobs" --target tralk-import tralk_importbench tralk_ft_floor \
     >/dev/null 2>&1; then
  echo
  echo "== Font import, against a bare FreeType loop over the same glyphs"
  "$build/bench/tralk_importbench" --import "$build/tralk-import" \
    --floor "$build/bench/tralk_ft_floor" --runs "$runs"
fi
# Font imports selecting from translation catalogues, where the importer is built.
if [ "$importer" = 1 ] &&
   cmake --build "$build" -j"$jobs" --target tralk-import tralk_catalogbench >/dev/null 2>&1; then
  echo
  echo "== Font import from translation catalogues, against --symbols of the same characters"
  "$build/bench/tralk_catalogbench" --import "$build/tralk-import" --runs "$runs"
fi
# Peak memory of picture imports, where the importer is built.
if [ "$importer" = 1 ] &&
   cmake --build "$build" -j"$jobs" --target tralk-import tralk_picturebench >/dev/null 2>&1; then
  echo
  echo "== Picture import"
  "$build/bench/tralk_picturebench" --import "$build/tralk-import"
fi
