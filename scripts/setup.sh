#!/usr/bin/env bash
# Installs the missing Debian packages and builds Veltmark into build/.
# Usage: scripts/setup.sh            (sourced by run.sh and test.sh as well)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/.." && pwd)"
# shellcheck source=packages.sh
source "$here/packages.sh"

missing=()
for p in "${VELTMARK_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

build="${VELTMARK_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE="${VELTMARK_BUILD_TYPE:-RelWithDebInfo}" ${VELTMARK_CMAKE_ARGS:-} >/dev/null
# VELTMARK_BUILD_TARGETS: a target to build instead of everything.
cmake --build "$build" -j"$(nproc)" ${VELTMARK_BUILD_TARGETS:+--target "$VELTMARK_BUILD_TARGETS"}
