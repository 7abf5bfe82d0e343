#!/usr/bin/env bash
# Whole-process time of "veltmark --check" against "tidy -e" on the same page,
# at about 1 KB and 10 MB: the mean of RUNS runs each (default 30 and 5).
# Usage: bench/check.sh [BINARY]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${1:-$root/build/veltmark}"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
python3 - "$dir" <<'PY'
import sys
d = sys.argv[1]
head = ('<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\r\n<html>\r\n<head>\r\n'
        '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">\r\n<title>Страница</title>\r\n'
        '<script type="text/javascript">function f(a, b) { return a < b && b > 0; }</script>\r\n</head>\r\n<body>\r\n')
block = ('<div class="item"><h2>Заголовок раздела</h2>\r\n<p>Текст <b>абзаца</b> со <a href="page.html#x">ссылкой</a>'
         ' и <i>курсивом</i>.<br>\r\n<img src="pic.png" alt="картинка"></p>\r\n<ul><li>Пункт один</li><li>Пункт два</li></ul>\r\n'
         '<table><tr><td>1</td><td>2</td></tr></table></div>\r\n')
tail = '</body>\r\n</html>\r\n'
for name, size in (('1k', 1024), ('10m', 10 << 20)):
    n = max(1, (size - len((head + tail).encode())) // len(block.encode()))
    open(f'{d}/{name}.html', 'w', newline='').write(head + block * n + tail)
PY
mean_ms() { # RUNS COMMAND...
  local runs=$1; shift
  local t0 t1
  t0=$(date +%s%N)
  for ((i = 0; i < runs; i++)); do "$@" >/dev/null 2>&1 || true; done
  t1=$(date +%s%N)
  echo "scale=2; ($t1 - $t0) / $runs / 1000000" | bc
}
for page in 1k:30 10m:5; do
  name=${page%%:*} runs=${page##*:}
  "$bin" --check "$dir/$name.html" >/dev/null 2>&1 || true # warm-up
  v=$(mean_ms "$runs" "$bin" --check "$dir/$name.html")
  t=$(mean_ms "$runs" tidy -e -q "$dir/$name.html")
  echo "$name: veltmark --check $v ms, tidy -e $t ms, tidy/veltmark $(echo "scale=2; $t / $v" | bc)x"
done
