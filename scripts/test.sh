#!/usr/bin/env bash
# Builds Tessaly and runs every test: installs missing Debian packages, builds
# with CMake, runs the test suite (under Xvfb where there is no display), the
# suite again with sanitizers, and each fuzz target for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_TESTS=ON
cmake --build build -j "$jobs"

# The viewer's tests need an X display: start a virtual one when there is none.
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

ctest --test-dir build --output-on-failure -j "$jobs"

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then a short run of each fuzz target.
scripts/sanitize.sh
scripts/fuzz.sh 60
