#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tessaly
# need, when any of them is missing. Usage: scripts/install-deps.sh [viewer|test]
set -euo pipefail

common=(cmake ninja-build g++ pkg-config python3 libsdl2-dev libgl1-mesa-dri libgl-dev
        libglu1-mesa-dev libx11-dev)
viewer=()
test=(libgtest-dev libgmock-dev nlohmann-json3-dev xvfb xdotool imagemagick libxtst-dev x11-utils
      clang libclang-rt-14-dev valgrind)
bench=(libbenchmark-dev libassimp-dev)

case "${1:-test}" in
  viewer) wanted=("${common[@]}" "${viewer[@]}") ;;
  test) wanted=("${common[@]}" "${test[@]}") ;;
  bench) wanted=("${common[@]}" "${bench[@]}") ;;
  all) wanted=("${common[@]}" "${test[@]}" "${bench[@]}") ;;
  *) echo "usage: $0 [viewer|test|bench|all]" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
