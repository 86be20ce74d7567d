#!/usr/bin/env bash
# Runs one Windows program of the end-to-end suite under Wine.
#
#   run_under_wine.sh [--timeout SECONDS] --work DIR [--shots DIR]
#                     --exe CORVANE.EXE --shell EXPLORER.EXE [--brook BROOK.EXE]
#                     [--tls-origin] -- PROGRAM.EXE [ARGS...]
#
# The program learns the Windows paths of corvane.exe, of the shell stand-in,
# of the stand-in engine and of its work folder from CORVANE_EXE,
# CORVANE_SHELL, CORVANE_BROOK and CORVANE_E2E_WORK.
# With --tls-origin, an https test page (tls_origin.py) runs on this side
# for the length of the run: the program learns its port from
# CORVANE_TLS_PORT and the Windows path of its authority's certificate from
# CORVANE_TLS_CA.
# While it runs, a request file "<name>.shot-request" in the work folder gets
# the X display saved as <shots>/<name>.png and is answered "<name>.shot-done";
# a "<name>.qr-request" holding a rectangle WxH+X+Y gets that part saved so,
# read by zbarimg into "<name>.qr-text" (the raw bytes of the codes found)
# and is answered "<name>.qr-done".
# After it ends, or when the time limit cuts it short, every process started
# from the work folder (the copies of corvane.exe) is ended by its id.
#
# The Wine loader is $CORVANE_WINE (set by scripts/env.sh); without it the
# shared settings are read here and the loader matches the program's
# processor. The X display is the caller's: scripts/test runs ctest inside
# xvfb-run.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

timeout_s=300 work= shots= exe= shell= brook= tls_origin=
while [ $# -gt 0 ]; do
  case $1 in
    --timeout) timeout_s=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    --exe) exe=$2; shift 2 ;;
    --shell) shell=$2; shift 2 ;;
    --brook) brook=$2; shift 2 ;;
    --tls-origin) tls_origin=1; shift ;;
    --) shift; break ;;
    *) echo "run_under_wine.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ $# -ge 1 ] && [ -n "$work" ] && [ -n "$exe" ] && [ -n "$shell" ] || {
  echo "usage: run_under_wine.sh [--timeout S] --work DIR [--shots DIR] --exe EXE --shell EXE [--brook EXE] -- PROGRAM [ARGS...]" >&2
  exit 2
}
program=$(realpath "$1"); shift

if [ -z "${CORVANE_WINE:-}" ]; then
  source "$here/../../scripts/env.sh"
  case "$(file -b "$program")" in
    PE32+*) CORVANE_WINE=/usr/lib/wine/wine64 ;;
    *) CORVANE_WINE=wine ;;
  esac
  ensure_wineprefix
fi
[ -n "${DISPLAY:-}" ] || echo "run_under_wine.sh: DISPLAY is not set; run inside xvfb-run" >&2

# Z: is the Unix root in every Wine prefix.
windows_path() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

mkdir -p "$work"
work=$(realpath "$work")
shots=${shots:-$work/screenshots}
mkdir -p "$shots"
export CORVANE_EXE=$(windows_path "$exe")
export CORVANE_SHELL=$(windows_path "$shell")
export CORVANE_E2E_WORK=$(windows_path "$work")
[ -n "$brook" ] && export CORVANE_BROOK=$(windows_path "$brook")

answer_screenshot_requests() {
  while :; do
    for request in "$work"/*.shot-request; do
      [ -e "$request" ] || continue
      name=$(basename "$request" .shot-request)
      if import -window root "$shots/$name.png" 2>"$work/$name.shot-log"; then
        mv -f "$request" "$work/$name.shot-done"
      fi
    done
    for request in "$work"/*.qr-request; do
      [ -e "$request" ] || continue
      name=$(basename "$request" .qr-request)
      geometry=$(cat "$request")
      [ -n "$geometry" ] || continue  # still being written
      # -Sbinary: the code's bytes as they are, no guess at their charset.
      if import -window root -crop "$geometry" +repage "$shots/$name.png" 2>"$work/$name.shot-log"; then
        zbarimg --nodbus --raw -q -Sbinary "$shots/$name.png" >"$work/$name.qr-text" 2>>"$work/$name.shot-log"
        mv -f "$request" "$work/$name.qr-done"
      fi
    done
    sleep 0.2
  done
}

# Wine shows a process's Windows path as its command line, so the copies
# started from the work folder are known by it. (The marker is handed to grep
# in a file, so that grep does not find itself.)
processes_started_from_work() {
  printf '%s\\\n' "$CORVANE_E2E_WORK" >"$work/.process-marker"
  grep -alFi -f "$work/.process-marker" /proc/[0-9]*/cmdline 2>/dev/null | cut -d/ -f3
}

end_leftovers() {
  local pids
  pids=$(processes_started_from_work)
  [ -z "$pids" ] && return
  echo "run_under_wine.sh: ending leftover processes $(echo $pids)" >&2
  kill -9 $pids 2>/dev/null
}

answer_screenshot_requests &
watcher=$!

origin=
if [ -n "$tls_origin" ]; then
  rm -rf "$work/tls-origin"
  python3 "$here/tls_origin.py" "$work/tls-origin" &
  origin=$!
  for _ in $(seq 300); do [ -s "$work/tls-origin/port" ] && break; sleep 0.1; done
  if [ -s "$work/tls-origin/port" ]; then
    export CORVANE_TLS_PORT=$(cat "$work/tls-origin/port")
    export CORVANE_TLS_CA=$(windows_path "$work/tls-origin/ca.pem")
  else
    echo "run_under_wine.sh: the https test page did not start" >&2
  fi
fi

cd "$work"
timeout --kill-after=10 "$timeout_s" "$CORVANE_WINE" "$program" "$@"
status=$?
[ $status -eq 124 ] && echo "run_under_wine.sh: $(basename "$program") ran longer than ${timeout_s}s and was stopped" >&2

kill "$watcher" 2>/dev/null
wait "$watcher" 2>/dev/null
if [ -n "$origin" ]; then
  kill "$origin" 2>/dev/null
  wait "$origin" 2>/dev/null
fi
end_leftovers
exit $status
