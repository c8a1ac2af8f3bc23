#!/usr/bin/env bash
# Runs the program against the simulated ECU (sim_ecu on a pseudo-terminal)
# on a virtual display at the full live rate and reports the program's share
# of one CPU core and its resident memory, read from /proc/<pid>/stat and
# /proc/<pid>/status. Goal: under 3 % of a core and under 60 MB.
#   bench/quenvar-cpu.sh [build-dir] [seconds]      (defaults: build, 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
seconds=${2:-20}

cmake -S . -B "$build" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Quenvar sim_ecu >/dev/null

work=$(mktemp -d)
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

"$build/tests/sim_ecu" --log "$work/requests.log" >"$work/sim.out" &
sim_pid=$!
for _ in $(seq 100); do
  [ -s "$work/sim.out" ] && break
  sleep 0.05
done
pty=$(head -n 1 "$work/sim.out")
[ -n "$pty" ] || { echo "sim_ecu gave no pty" >&2; exit 1; }
printf 'Port=%s\n' "$pty" >"$work/Oskat.ini"

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  quenvar=$1 work=$2 seconds=$3
  cd "$work"
  HOME="$work" "$quenvar" >"$work/quenvar.log" 2>&1 &
  pid=$!
  trap "kill $pid 2>/dev/null || true" EXIT

  live_requests() { grep -c "^AA 01 " "$work/requests.log" 2>/dev/null || true; }
  # Measure once the link is up and live data flows.
  for _ in $(seq 600); do
    [ "$(live_requests)" -ge 10 ] && break
    kill -0 $pid 2>/dev/null || { echo "Quenvar ended early" >&2; cat "$work/quenvar.log" >&2; exit 1; }
    sleep 0.1
  done
  [ "$(live_requests)" -ge 10 ] || { echo "no live data after 60 s" >&2; exit 1; }

  ticks() { sed "s/.*) //" /proc/$pid/stat | awk "{ print \$12 + \$13 }"; }
  hz=$(getconf CLK_TCK)
  t0=$(ticks); r0=$(live_requests); s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(ticks); r1=$(live_requests); s1=$(date +%s.%N)
  kill -0 $pid 2>/dev/null || { echo "Quenvar ended during the run" >&2; exit 1; }
  rss=$(awk "/^VmRSS:/ { print \$2 }" /proc/$pid/status)
  hwm=$(awk "/^VmHWM:/ { print \$2 }" /proc/$pid/status)

  awk -v t0="$t0" -v t1="$t1" -v hz="$hz" -v s0="$s0" -v s1="$s1" -v r0="$r0" -v r1="$r1" \
      -v rss="$rss" -v hwm="$hwm" "BEGIN {
    wall = s1 - s0
    printf \"run:            %.1f s against sim_ecu, %.1f live-data requests per second\n\", wall, (r1 - r0) / wall
    printf \"CPU:            %.2f %% of one core (goal < 3 %%)\n\", 100 * (t1 - t0) / hz / wall
    printf \"resident:       %.1f MB now, %.1f MB peak (goal < 60 MB)\n\", rss / 1024, hwm / 1024
  }"
' _ "$PWD/$build/app/Quenvar" "$work" "$seconds"
