#!/usr/bin/env bash
# CPU cost of a whole keystroke as a user feels it, Veltmark beside Kate, Geany
# and Bluefish: each editor on its own Xvfb screen, opened on a copy of a page
# in a window of 1000 x 800, the caret put at the end of the page (ctrl+End),
# then 60 letters typed by xdotool at 25 keys a second. The cost is the CPU
# time (utime + stime) of the editor's whole process, all of its threads, from
# just before the typing to the moment it is idle again, over 60. Median of
# ROUNDS rounds, the editors taken in turn within a round.
#
# Usage: bench/peers.sh [BINARY]
#   ROUNDS=3                    rounds (median of them)
#   PAGES="1k 10m 50m line5m"   pages: HTML of about 1 KB, 10 MB, 50 MB, and one line of 5 MB
#   EDITORS="veltmark kate geany bluefish"
#   LOAD_TIMEOUT=180            seconds an editor gets to show and load a page, else "—"
#   PEERS_SHOT=DIR              keeps an xwd picture of each screen just before its editor is killed
#
# The peers are measured, not needed to build: install them with
#   apt-get install -y --no-install-recommends kate geany bluefish
# An editor that is not installed, does not show a window or does not load the
# page in time gets "—". Needs Xvfb, xdotool, dbus-daemon and python3.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bin="${1:-$root/build/veltmark}"
rounds="${ROUNDS:-3}"
pages=(${PAGES:-1k 10m 50m line5m})
editors=(${EDITORS:-veltmark kate geany bluefish})
load_timeout="${LOAD_TIMEOUT:-180}"
keys=60
letters=thequickbrownfoxjumpsoverthelazydogpackmyboxwithfivedozenliq # 60 letters
hz=$(getconf CLK_TCK)
for tool in Xvfb xdotool dbus-daemon python3; do
  command -v "$tool" >/dev/null || { echo "peers.sh: $tool is needed" >&2; exit 2; }
done
dir="$(mktemp -d)"
cleanup() {
  local p
  for p in ${live_pids:-}; do kill -9 "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

python3 - "$dir" "${pages[@]}" <<'PY'
import sys
d, wanted = sys.argv[1], sys.argv[2:]
head = ('<!DOCTYPE html PUBLIC "-//W3C//DTD HTML 4.01 Transitional//EN">\r\n<html>\r\n<head>\r\n'
        '<meta http-equiv="Content-Type" content="text/html; charset=utf-8">\r\n<title>Страница</title>\r\n'
        '<style type="text/css">div.item { margin: 0 1em; } td { padding: 2px; }</style>\r\n'
        '<script type="text/javascript">function f(a, b) { return a < b && b > 0; }</script>\r\n</head>\r\n<body>\r\n')
block = ('<div class="item" id="r{n}"><h2>Заголовок раздела</h2>\r\n<p>Текст <b>абзаца</b> со <a href="page.html#x">ссылкой</a>'
         ' и <i>курсивом</i>, а также &laquo;кавычками&raquo; и&nbsp;пробелом.<br>\r\n<img src="pic.png" alt="картинка" width="32" height="32"></p>\r\n'
         '<!-- примечание к разделу -->\r\n<ul><li>Пункт один</li><li>Пункт <span style="color: #c00">два</span></li></ul>\r\n'
         '<table border="1"><tr><td>1</td><td>Ячейка</td></tr></table></div>\r\n')
tail = '</body>\r\n</html>\r\n'
def page(size):
    out, n, total = [head], 0, len((head + tail).encode())
    while True:
        b = block.replace('{n}', str(n))
        if n and total + len(b.encode()) > size:
            break
        out.append(b); total += len(b.encode()); n += 1
    out.append(tail)
    return ''.join(out)
def one_line(size):
    start = ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>Сценарий</title>'
             '<script type="text/javascript">')
    end = '</script></head><body><p>Страница со сценарием в одну строку.</p></body></html>'
    js, n, total = [], 0, len((start + end).encode())
    while total < size:
        s = (f'function f{n}(a,b){{var c=a+b,d="строка {n}";if(c>{n % 97}&&b<a){{return d+c}}'
             f'for(var i=0;i<b;i++){{c+=i*2}}return[c,d,{{k:"v{n}"}}]}};')
        js.append(s); total += len(s.encode()); n += 1
    return start + ''.join(js) + end
sizes = {'1k': ('page', 1 << 10), '10m': ('page', 10 << 20), '50m': ('page', 50 << 20), 'line5m': ('line', 5 << 20)}
for name in wanted:
    kind, size = sizes[name]
    open(f'{d}/{name}.html', 'w', newline='', encoding='utf-8').write(page(size) if kind == 'page' else one_line(size))
PY
[ $? -eq 0 ] || { echo "peers.sh: unknown page in PAGES (known: 1k 10m 50m line5m)" >&2; exit 2; }

# CPU ticks of the whole process (utime + stime), empty when it is gone.
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat" 2>/dev/null; }
hwm_mb() { awk '/^VmHWM:/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status" 2>/dev/null; }

# Waits until PID has been idle for QUIET seconds and prints its ticks at the
# start of that idle span; fails after LIMIT seconds. Idle is no poll (a
# quarter of a second) with more than 2 ticks and at most 3 ticks a second and
# one over the span: a caret that blinks on a long line may cost that much
# without end, while work left over from the keys comes in bursts. With a
# notes file, dialogs that come up meanwhile are answered (see answer_dialogs).
settle() { # PID QUIET LIMIT [NOTES]
  local pid=$1 need=$(($2 * 4)) allow=$(($2 * 3 + 1)) limit=$(($3 * 4)) t prev calm=0 at i
  at=$(ticks "$pid") || return 1
  prev=$at
  for ((i = 0; i < limit; i++)); do
    sleep 0.25
    [ -n "${4:-}" ] && answer_dialogs "$pid" "$4"
    t=$(ticks "$pid")
    [ -n "$t" ] || return 1
    if ((t - prev <= 2 && t - at <= allow)); then
      calm=$((calm + 1))
      ((calm >= need)) && { echo "$at"; return 0; }
    else
      calm=0 at=$t
    fi
    prev=$t
  done
  return 1
}

is_dialog() { xprop -id "$1" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_DIALOG; }

# Veltmark's first start in a fresh folder asks whether to install there: Return
# says yes. Any other dialog of PID (Bluefish asks whether to split a very long
# line) is closed with Escape, which leaves the page as it is.
answer_dialogs() { # PID NOTES
  local w name
  for w in $(xdotool search --onlyvisible --name '^Подтверждение$' 2>/dev/null); do
    xdotool windowfocus "$w" key Return 2>/dev/null
    echo "answered the first-run question with Return" >>"$2"
  done
  for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    is_dialog "$w" || continue
    name=$(xdotool getwindowname "$w" 2>/dev/null)
    [ "$name" = Подтверждение ] && continue
    xdotool windowfocus "$w" key Escape 2>/dev/null
    echo "closed a dialog${name:+ \"$name\"} with Escape" >>"$2"
  done
}

# The largest shown window of PID that is not a dialog, as "id width height".
main_window() {
  local pid=$1 w best="" area=0 g
  for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    is_dialog "$w" && continue
    g=$(xdotool getwindowgeometry "$w" 2>/dev/null | awk '/Geometry:/ { split($2, a, "x"); print a[1], a[2] }')
    [ -n "$g" ] || continue
    set -- $g
    (($1 * $2 > area)) && { area=$(($1 * $2)); best="$w $1 $2"; }
  done
  [ -n "$best" ] && ((area >= 200 * 150)) && echo "$best"
}

command_of() { # EDITOR PAGE
  case $1 in
  veltmark) echo "$bin" "$2" ;;
  kate) echo kate -n --startanon "$2" ;;
  geany) echo geany -i -c "$HOME/.config/geany" "$2" ;;
  bluefish) echo bluefish -n "$2" ;;
  esac
}
installed() { case $1 in veltmark) [ -x "$bin" ] ;; *) command -v "$1" >/dev/null ;; esac; }

# Where in the 1000 x 800 window a click lands in the text: past the menus,
# toolbars and side panes each of them shows on a fresh start.
click_at() {
  case $1 in
  veltmark) echo 500 500 ;;
  kate) echo 600 450 ;;
  geany) echo 600 400 ;;
  bluefish) echo 600 450 ;;
  esac
}

# A screen of its own, on a display number from 60 up that nobody holds
# (others on this machine are apt to take the low ones and clear their locks),
# ready once a client can talk to it: sets xpid and disp.
start_screen() { # RUN
  local n t i
  for ((n = 60 + RANDOM % 200, t = 0; t < 20; n++, t++)); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >"$1/xvfb.log" 2>&1 &
    xpid=$!
    live_pids="$xpid"
    disp=":$n"
    for ((i = 0; i < 100; i++)); do
      [ -d "/proc/$xpid" ] || break
      DISPLAY=$disp xdotool getdisplaygeometry >/dev/null 2>&1 && return 0
      sleep 0.1
    done
    kill "$xpid" 2>/dev/null
    wait "$xpid" 2>/dev/null
  done
  return 1
}

# One measurement into ms (CPU per key), hwm (peak RSS, MB) and note; "—" where it failed.
measure() { # EDITOR PAGE
  local editor=$1 page=$2 run home disp xpid bus dpid pid win w x y t0 before after title0 title1 start left
  ms="—" hwm="—" note=""
  run=$(mktemp -d "$dir/run.XXXX")
  home=$run/home
  mkdir -p "$home/.config" "$home/.local/share" "$home/.cache" "$home/run" "$home/veltmark" "$home/sys"
  chmod 700 "$home/run"
  cp "$dir/$page.html" "$run/$page.html"
  start_screen "$run" || { ms="—" hwm="—" note="no Xvfb screen"; rm -rf "$run"; return; }
  { read -r bus; read -r dpid; } < <(HOME=$home dbus-daemon --session --fork --print-address=1 --print-pid=1)
  live_pids="$live_pids $dpid"
  (
    cd "$run" || exit
    unset WAYLAND_DISPLAY SESSION_MANAGER
    export HOME=$home DISPLAY=$disp XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share \
      XDG_CACHE_HOME=$home/.cache XDG_RUNTIME_DIR=$home/run DBUS_SESSION_BUS_ADDRESS=$bus \
      VELTMARK_HOME=$home/veltmark VELTMARK_SYSROOT=$home/sys QT_QPA_PLATFORM=xcb NO_AT_BRIDGE=1
    exec $(command_of "$editor" "$run/$page.html") >"$run/log" 2>&1
  ) &
  pid=$!
  live_pids="$live_pids $pid"
  export DISPLAY=$disp
  start=$SECONDS
  win=""
  : >"$run/notes"
  while ((SECONDS - start < load_timeout)) && [ -d "/proc/$pid" ]; do
    answer_dialogs "$pid" "$run/notes"
    win=$(main_window "$pid") && break
    sleep 0.25
  done
  if [ -n "$win" ]; then
    set -- $win
    win=$1
    xdotool windowmove "$win" 0 0 windowsize "$win" 1000 800 2>/dev/null
    left=$((load_timeout - (SECONDS - start)))
    if ((left > 0)) && settle "$pid" 2 "$left" "$run/notes" >/dev/null; then
      # A window that placed itself again while loading is put back at 1000 x 800.
      if ! xdotool getwindowgeometry "$win" 2>/dev/null | grep -q 'Geometry: 1000x800$'; then
        xdotool windowmove "$win" 0 0 windowsize "$win" 1000 800 2>/dev/null
        note="${note:+$note; }resized again after loading"
      fi
      read -r x y <<<"$(click_at "$editor")"
      xdotool mousemove --window "$win" "$x" "$y" click 1 2>/dev/null
      xdotool windowfocus "$win" 2>/dev/null
      xdotool key --clearmodifiers ctrl+End 2>/dev/null
      before=$(settle "$pid" 2 "$load_timeout" "$run/notes")
      title0=$(xdotool getwindowname "$win" 2>/dev/null)
      xdotool type --delay 40 "$letters"
      after=$(settle "$pid" 2 "$load_timeout")
      title1=$(xdotool getwindowname "$win" 2>/dev/null)
      if [ -n "$before" ] && [ -n "$after" ]; then
        ms=$(awk -v d=$((after - before)) -v hz="$hz" -v k=$keys 'BEGIN { printf "%.2f", d * 1000 / hz / k }')
        # The peers mark an edited document in the title; Veltmark's title is the file's name alone.
        if [ "$editor" != veltmark ] && [ "$title0" = "$title1" ]; then
          note="${note:+$note; }the title stayed \"$title1\", the keys did not get into the page (was $ms ms/key)"
          ms="—"
        fi
        hwm=$(hwm_mb "$pid")
        hwm=${hwm:-—}
      else
        note="${note:+$note; }did not go idle after the typing"
      fi
    else
      note="${note:+$note; }not loaded in ${load_timeout} s"
    fi
  elif [ -d "/proc/$pid" ]; then
    note="${note:+$note; }no window in ${load_timeout} s"
  fi
  [ -d "/proc/$pid" ] || [ "$ms" != "—" ] || note="${note:+$note; }exited: $(grep -v '^\s*$' "$run/log" 2>/dev/null | tail -n1)"
  while read -r w; do note="$w${note:+; $note}"; done < <(sort -u "$run/notes")
  if [ -n "${PEERS_SHOT:-}" ]; then xwd -root -silent -display "$disp" >"$PEERS_SHOT/$editor-$page.xwd" 2>/dev/null; fi
  kill -9 "$pid" "$dpid" 2>/dev/null
  wait "$pid" 2>/dev/null
  kill "$xpid" 2>/dev/null
  wait "$xpid" 2>/dev/null
  live_pids=""
  rm -rf "$run"
}

median() { # values, "—" ignored; "—" when none
  printf '%s\n' "$@" | grep -v '^—$' | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "—"; else if (NR % 2) print v[(NR + 1) / 2]; else printf "%.2f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

declare -A cost peak
notes=()
for ((r = 1; r <= rounds; r++)); do
  for page in "${pages[@]}"; do
    for e in "${editors[@]}"; do
      if installed "$e"; then
        measure "$e" "$page"
        # A start that lost its screen at once is tried again, once.
        if [[ "$note" == *"exited:"* ]]; then
          first=$note
          measure "$e" "$page"
          note="tried again after: $first${note:+; $note}"
        fi
      else
        ms="—" hwm="—" note="not installed"
      fi
      cost[$e,$page]+="$ms "
      peak[$e,$page]+="$hwm "
      echo "round $r, $page, $e: $ms ms/key, peak RSS $hwm MB${note:+ ($note)}" >&2
      [ -n "$note" ] && notes+=("round $r, $page, $e: $note")
    done
  done
done

name() { case $1 in veltmark) echo Veltmark ;; kate) echo Kate ;; geany) echo Geany ;; bluefish) echo Bluefish ;; esac; }
echo "CPU time of the whole editor process (utime + stime, all threads) per key, ms; median of $rounds rounds (of those that gave a figure); $(date -u '+%Y-%m-%d %H:%M UTC')"
echo
# The head of a table: its first column's caption, then the editors.
table_head() {
  local row="|${1:+ $1 |}" sep="|${1:+---|}"
  for e in "${editors[@]}"; do row+=" $(name "$e") |"; sep+="---:|"; done
  echo "$row"
  echo "$sep"
}
table_head page
for page in "${pages[@]}"; do
  row="| $page |"
  for e in "${editors[@]}"; do row+=" $(median ${cost[$e,$page]}) |"; done
  echo "$row"
done
for page in "${pages[@]}"; do
  [ "$page" = 50m ] || continue
  echo
  echo "Peak RSS (VmHWM) of the editor process on the 50 MB page, MB; median of $rounds"
  echo
  table_head
  row="|"
  for e in "${editors[@]}"; do row+=" $(median ${peak[$e,50m]}) |"; done
  echo "$row"
done
if ((${#notes[@]})); then
  echo
  printf -- '- %s\n' "${notes[@]}"
fi
