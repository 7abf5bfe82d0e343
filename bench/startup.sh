#!/usr/bin/env bash
# Start-up time of the editor to its shown main window: the median of RUNS
# starts (default 15) of build/veltmark with a document, each ended as soon
# as the window has shown. Usage: bench/startup.sh [BINARY] [RUNS]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${1:-$root/build/veltmark}"
runs="${2:-15}"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
printf "[HELPLOG]1\r\n[LOADLASTFILE]0\r\n" > "$home/Program.ZEL"
for s in Recent RColors DocColors Macros StyleHelp url_assigns; do : > "$home/$s.ZEL"; done
printf '<!DOCTYPE html>\n<title>t</title>\n<p>Привет</p>\n' > "$home/page.html"
export VELTMARK_HOME="$home" VELTMARK_QUIT_WHEN_SHOWN=1 QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
"$bin" "$home/page.html" >/dev/null 2>&1 # warm-up
times=()
for ((i = 0; i < runs; i++)); do
  t0=$(date +%s%N)
  "$bin" "$home/page.html" >/dev/null 2>&1
  t1=$(date +%s%N)
  times+=($(((t1 - t0) / 1000)))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to the shown window, median of $runs: $((sorted[runs / 2] / 1000)) ms (min $((sorted[0] / 1000)), max $((sorted[runs - 1] / 1000)))"
