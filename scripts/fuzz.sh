#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (into build-fuzz/) and runs each one
# for SECONDS (default 60) on a working corpus under out/fuzz/<target>/.
#
#   scripts/fuzz.sh [SECONDS] [-- extra libFuzzer arguments]
#
# The working corpus starts from fuzz/seeds/, the bundled models and the test
# fixtures, and keeps what earlier runs found; the real files of
# $TESSALY_CORPUS_DIR (default ../shared/corpus) are read as further seeds
# without being copied. TESSALY_FUZZ_TARGETS picks the targets (default: all
# that are built). Exits non-zero when a target finds a crash, a hang, a leak,
# a sanitizer report or an out-of-memory; the input that caused it is left in
# out/fuzz/<target>/artifacts/ and the run's log beside it.
set -euo pipefail

# All in one function, read whole before it runs: a long run is not thrown
# off when this file changes meanwhile.
main() {
  cd "$(dirname "$0")/.."
  root=$(pwd)

  seconds=60
  if [ $# -gt 0 ] && [ "$1" != "--" ]; then
    seconds=$1
    shift
  fi
  case "$seconds" in
    ''|*[!0-9]*) echo "usage: $0 [SECONDS] [-- extra libFuzzer arguments]" >&2; exit 2 ;;
  esac
  [ $# -gt 0 ] && [ "$1" = "--" ] && shift
  extra=("$@")

  build=build-fuzz
  # Runs started side by side (one per target) build one at a time.
  mkdir -p "$build"
  exec 9>"$build/.fuzz-build.lock"
  flock 9
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESSALY_FUZZ=ON -DTESSALY_TESTS=OFF -DTESSALY_VIEWER=OFF >/dev/null
  all_targets=(fuzz_parser fuzz_render)
  targets=()
  for t in ${TESSALY_FUZZ_TARGETS:-${all_targets[*]}}; do
    if [ -n "${TESSALY_FUZZ_TARGETS:-}" ] || ninja -C "$build" -t query "$t" >/dev/null 2>&1; then
      targets+=("$t")
    else
      echo "fuzz: $t is not part of this build yet; skipped" >&2
    fi
  done
  [ ${#targets[@]} -gt 0 ] || { echo "fuzz: no target to run" >&2; exit 1; }
  cmake --build "$build" -j "${TESSALY_BUILD_JOBS:-2}" --target "${targets[@]}"
  flock -u 9

  # The dictionary should know every keyword the parser knows.
  missing=$(grep -o '"\*[A-Z0-9_]*"' ase_model/ase_tokens.h | sort -u |
    grep -vxF -f <(grep -o '"\*[A-Z0-9_]*"' fuzz/ase.dict) || true)
  [ -z "$missing" ] || echo "fuzz: keywords missing from fuzz/ase.dict:" $missing >&2

  corpus_dir=${TESSALY_CORPUS_DIR:-$root/../shared/corpus}
  status=0
  for t in "${targets[@]}"; do
    work=out/fuzz/$t
    mkdir -p "$work/corpus" "$work/artifacts"
    # Seeds: copied once; libFuzzer names what it adds by content hash.
    for seed in fuzz/seeds/* models/*.ASE models/*.ase tests/parser/regressions/* tests/*/fixtures/*; do
      [ -f "$seed" ] && cp -n "$seed" "$work/corpus/" 2>/dev/null || true
    done
    read_only=()
    [ -d "$corpus_dir" ] && read_only+=("$corpus_dir")
    log=$work/log-$(date -u +%Y%m%dT%H%M%SZ).txt
    echo "fuzz: $t for ${seconds}s (log: $log)"
    rc=0
    "$build/bin/$t" "$work/corpus" "${read_only[@]}" \
      -dict=fuzz/ase.dict -max_total_time="$seconds" -rss_limit_mb=2048 \
      -max_len=65536 -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$work/artifacts/" "${extra[@]}" >"$log" 2>&1 || rc=$?
    grep -E '^(#[0-9]+.*DONE|Done [0-9]+ runs|stat::number_of_executed_units|stat::peak_rss_mb)' "$log" || true
    if [ $rc -ne 0 ]; then
      echo "fuzz: $t FAILED (exit $rc); the log ends:" >&2
      tail -n 60 "$log" >&2
      ls -1 "$work/artifacts/" >&2
      status=1
    fi
  done
  exit $status
}

main "$@"
