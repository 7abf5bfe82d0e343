#!/usr/bin/env bash
# Sets everything up and runs every test headless.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/setup.sh"
export QT_QPA_PLATFORM=offscreen
cd "${VELTMARK_BUILD_DIR:-$here/../build}"
ctest --output-on-failure -j"$(nproc)"
