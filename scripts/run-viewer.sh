#!/usr/bin/env bash
# Builds the viewer and starts it on the six bundled models: installs missing
# Debian packages, builds with CMake, runs build/bin/tessaly in models/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh viewer
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSALY_TESTS=OFF
cmake --build build -j "$(nproc)" --target tessaly tessaly-dump
if [ ! -x build/bin/tessaly ]; then
  echo "The viewer is not built yet; build/bin/tessaly-dump inspects ASE files." >&2
  exit 1
fi
cd models
exec ../build/bin/tessaly
