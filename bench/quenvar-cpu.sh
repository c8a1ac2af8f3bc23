#!/usr/bin/env bash
# Runs the program against the simulated ECU (sim_ecu on a pseudo-terminal)
# on a virtual display and reports the program's share of one CPU core and
# its resident memory, read from /proc/<pid>/stat and /proc/<pid>/status, the
# live-frame rate (each live request is answered by one frame), how often the
# parameters were asked for, the most replies the ECU held unsent and the most
# requests it got within one second and on average. Four times: an ECU that
# answers at once, one at line speed (10000 baud, 8N1: 1000 bytes/s), one at
# line speed on a noisy line (every 40th reply with its length's high byte
# flipped, a stray byte in front of every 10th), and one at line speed with
# 200 bytes of garbage and a false header (AA 00 08) in front of every 10th
# reply. Goals: under 3 % of a core, under 60 MB; at line speed 5 to 8 live
# frames/s, the parameters asked once, never two replies unsent, never more
# than 10 requests in a second, noise or not.
#   bench/quenvar-cpu.sh [--page N] [--after F] [build-dir] [seconds]   (defaults: build, 20)
# --page N shows notebook page N while it runs (1: the map tab, 3: the
# oscilloscope, both draw every live frame); without it the first page is
# shown. --after F starts measuring once F live frames have come (default
# 10); the oscilloscope scrolls, and redraws its x axis, from frame 190 on.
# GDK_SCALE=2 in the environment measures it on a HiDPI screen.
set -euo pipefail
cd "$(dirname "$0")/.."
while [ $# -gt 0 ]; do
  case "$1" in
    --page) export QUENVAR_PAGE=$2; shift 2 ;;
    --after) export QUENVAR_AFTER=$2; shift 2 ;;
    *) break ;;
  esac
done
if [ -z "${QUENVAR_SIM_ARGS+set}" ]; then
  echo "--- ECU answering at once ---"
  QUENVAR_SIM_ARGS="" "$0" "$@"
  echo "--- ECU at line speed ---"
  QUENVAR_SIM_ARGS="--line-speed" "$0" "$@"
  echo "--- ECU at line speed, noisy line ---"
  QUENVAR_SIM_ARGS="--line-speed --flip-length-every 40 --stray-every 10" "$0" "$@"
  echo "--- ECU at line speed, garbage bursts and false headers ---"
  QUENVAR_SIM_ARGS="--line-speed --burst 200 --false-header 8 --noise-every 10" exec "$0" "$@"
fi
build=${1:-build}
seconds=${2:-20}

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j3 --target Quenvar sim_ecu >/dev/null

work=$(mktemp -d)
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# shellcheck disable=SC2086
"$build/tests/sim_ecu" $QUENVAR_SIM_ARGS --log "$work/requests.log" >"$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.05
done
pty=$(head -n 1 "$work/sim.out")
[ -n "$pty" ] || { echo "sim_ecu gave no pty" >&2; exit 1; }
printf 'Port=%s\n' "$pty" >"$work/Oskat.ini"

# At GDK_SCALE=2 (a HiDPI screen) the window is twice as many pixels each
# way; the screen grows with it, so that all of it is drawn.
scale=${GDK_SCALE:-1}
xvfb-run -a -s "-screen 0 $((1024 * scale))x$((768 * scale))x24" bash -c '
  set -euo pipefail
  quenvar=$1 work=$2 seconds=$3
  cd "$work"
  HOME="$work" "$quenvar" ${QUENVAR_PAGE:+--page=$QUENVAR_PAGE} >"$work/quenvar.log" 2>&1 &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT

  live_requests() { grep -c "^AA 01 " "$work/requests.log" 2>/dev/null || true; }
  # Measure once the link is up and live data flows.
  after=${QUENVAR_AFTER:-10}
  for _ in $(seq 600); do
    [ "$(live_requests)" -ge "$after" ] && break
    kill -0 $pid 2>/dev/null || { echo "Quenvar ended early" >&2; cat "$work/quenvar.log" >&2; exit 1; }
    sleep 0.1
  done
  [ "$(live_requests)" -ge "$after" ] || { echo "not $after live frames after 60 s" >&2; exit 1; }

  ticks() { sed "s/.*) //" /proc/$pid/stat | awk "{ print \$12 + \$13 }"; }
  hz=$(getconf CLK_TCK)
  all_requests() { grep -c "^AA " "$work/requests.log" 2>/dev/null || true; }
  t0=$(ticks); r0=$(live_requests); a0=$(all_requests); s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks); r1=$(live_requests); a1=$(all_requests); s1=$(date +%s.%N)
  kill -0 $pid 2>/dev/null || { echo "Quenvar ended during the run" >&2; exit 1; }
  rss=$(awk "/^VmRSS:/ { print \$2 }" /proc/$pid/status)
  hwm=$(awk "/^VmHWM:/ { print \$2 }" /proc/$pid/status)
  params=$(grep -c "^AA 0C " "$work/requests.log" || true)
  backlog=$(awk "/^backlog / { n = \$2 } END { print n + 0 }" "$work/requests.log")
  rate=$(awk "/^rate / { n = \$2 } END { print n + 0 }" "$work/requests.log")

  awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v r0="$r0" -v r1="$r1" -v a0="$a0" -v a1="$a1" \
      -v rss="$rss" -v hwm="$hwm" -v params="$params" -v backlog="$backlog" -v rate="$rate" \
      -v page="${QUENVAR_PAGE:-0}" "BEGIN {
    wall = s1 - s0
    printf \"run:            %.1f s against sim_ecu, %.1f live frames per second, page %s\n\", wall, (r1 - r0) / wall, page
    printf \"CPU:            %.2f %% of one core (goal < 3 %%)\n\", 100 * (t1 - t0) / hz / wall
    printf \"resident:       %.1f MB now, %.1f MB peak (goal < 60 MB)\n\", rss / 1024, hwm / 1024
    printf \"ECU:            parameters asked %d times, at most %d replies unsent, at most %d requests in a second, %.1f on average\n\", params, backlog, rate, (a1 - a0) / wall
  }"
' _ "$PWD/$build/app/Quenvar" "$work" "$seconds"
