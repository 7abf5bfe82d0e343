#!/usr/bin/env bash
# Sets everything up and starts the editor. Arguments go to the editor.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/setup.sh"
exec "${VELTMARK_BUILD_DIR:-$here/../build}/veltmark" "$@"
