#!/usr/bin/env bash
# Measures the parser against the raw speed of the machine and against
# Assimp's ASE import: installs the bench packages when missing, builds with
# the benchmarks into build-bench/, writes large generated ASE files into
# out/ (10, 100 and 500 MB, kept for later runs) and runs ase-bench on each.
#
#   scripts/bench.sh [SIZE...]      sizes default to 10M 100M 500M
#   REPEAT=9 scripts/bench.sh 100M  runs per contender (default 7; three times
#                                   as many on files below 100 MB, whose runs
#                                   are short and vary most)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh bench

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_BENCH=ON \
  -DTESSALY_VIEWER=OFF -DTESSALY_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)" --target ase-bench tessaly-dump

sizes=("$@")
[ ${#sizes[@]} -eq 0 ] && sizes=(10M 100M 500M)
mkdir -p out
for size in "${sizes[@]}"; do
  file="out/large-$size.ase"
  [ -f "$file" ] || python3 tools/gen_large_ase.py "$size" "$file"
done
for size in "${sizes[@]}"; do
  # tessaly-dump is timed on the 100 MB file only: on the others it adds
  # nothing the load figures do not already say.
  dump=(--no-dump)
  [ "$size" = 100M ] && dump=()
  repeat=${REPEAT:-7}
  [ "$(stat -c %s "out/large-$size.ase")" -lt 100000000 ] && repeat=$((repeat * 3))
  build-bench/bin/ase-bench --repeat "$repeat" "${dump[@]}" "out/large-$size.ase"
  echo
done
