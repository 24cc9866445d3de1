#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Times `qn470 provision` against simulated trackers paced at 115200 baud, with the default
# 1000 ms between set lines, and prints the figures:
#   1. one tracker, whole series;  2. eight trackers at once, whole series (ratio to 1.);
#   3. one tracker, --changed, the profile differing from it in three set lines.
#
#   bench/provision_time.sh build/src/cli/qn470
set -euo pipefail

qn470=${1:?usage: bench/provision_time.sh PATH/TO/qn470}
work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime   # these simulators only
export QN470_JOURNAL=sqlite:$work/journal.sqlite
pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

"$qn470" defaults "$work/defaults.pro"
# C1, O5 and E0 sit in three different set lines.
"$qn470" export "$work/defaults.pro" |
  sed 's/^C1=.*/C1=300/; s/^O5=.*/O5=FLEET/; s/^E0=.*/E0=fleet.example.com/' >"$work/fleet.ini"
"$qn470" import "$work/fleet.ini" "$work/fleet.pro"

# Starts N paced simulators holding the defaults; their --port arguments go to $work/ports.
start_trackers() {
  : >"$work/ports"
  for ((i = 0; i < $1; i++)); do
    rm -f "$work/sim$i.out"
    "$qn470" sim --baud 115200 --rtc-interval-ms 0 >"$work/sim$i.out" 2>/dev/null &
    pids+=($!)
    while [ ! -s "$work/sim$i.out" ]; do sleep 0.05; done
    printf -- '--port %s ' "$(head -1 "$work/sim$i.out")" >>"$work/ports"
  done
}

stop_trackers() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; pids=(); }

# Runs provision on the started trackers; its wall time in seconds goes to $work/seconds.
timed() {
  local start end
  start=$(date +%s.%N)
  # shellcheck disable=SC2046
  "$qn470" provision "$@" $(cat "$work/ports") "$work/fleet.pro" >>"$work/out" 2>>"$work/err" || true
  end=$(date +%s.%N)
  echo "$end - $start" | bc >"$work/seconds"
}

start_trackers 1; timed; one=$(cat "$work/seconds"); stop_trackers
start_trackers 8; timed; eight=$(cat "$work/seconds"); stop_trackers
start_trackers 1; timed --changed; changed=$(cat "$work/seconds"); stop_trackers

printf 'one tracker, whole series:        %6.2f s\n' "$one"
printf 'eight trackers at once:           %6.2f s  (%.3f x one)\n' "$eight" "$(echo "$eight / $one" | bc -l)"
printf 'one tracker, --changed (3 lines): %6.2f s\n' "$changed"
grep -c '  ok  ' "$work/out" | xargs printf 'trackers verified: %s of 10\n'
grep -v '^pts/[0-9]*: ' "$work/err" | grep -v '^qn470: [0-9]* trackers' || true
