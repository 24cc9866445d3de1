#!/usr/bin/env bash
# SPDX-License-Identifier: Apache-2.0
# Feeds a large report (default 200 MB) to `qn470 decode` on standard input and prints the wall
# time and the peak resident memory. The report is the default profile's set lines in report form
# (KXS -> KXs), repeated, so every line goes through the whole decoder.
#
#   bench/decode_memory.sh build/src/cli/qn470 [MEGABYTES]
#
# Uses GNU time when installed; otherwise (or with SAMPLE_PROC=1) it samples /proc/PID/status.
set -euo pipefail

qn470=${1:?usage: bench/decode_memory.sh PATH/TO/qn470 [MEGABYTES]}
megabytes=${2:-200}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$qn470" defaults "$work/in.pro"
# One block of about 1 MiB, repeated; the block stays in the page cache, so the feed is cheap.
"$qn470" encode "$work/in.pro" | sed 's/^KXS,/KXs,/' >"$work/lines"
while [ "$(stat -c %s "$work/lines")" -lt 1048576 ]; do
  cat "$work/lines" "$work/lines" >"$work/twice" && mv "$work/twice" "$work/lines"
done
head -c 1048576 "$work/lines" | sed '$d' >"$work/block"   # whole lines only
block_bytes=$(stat -c %s "$work/block")
repeats=$(( (megabytes * 1000000 + block_bytes - 1) / block_bytes ))

feed() {
  for ((i = 0; i < repeats; i++)); do cat "$work/block"; done
}

echo "report: $repeats x $block_bytes bytes = $(( repeats * block_bytes / 1000000 )) MB"
if [ -x /usr/bin/time ] && [ -z "${SAMPLE_PROC:-}" ]; then
  feed | /usr/bin/time -v -o "$work/time" "$qn470" decode "$work/in.pro" "$work/out.pro" \
    2>"$work/sum"
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$work/time")
  peak_kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$work/time")
else
  # Without GNU time: sample the high-water mark while it runs (it only grows).
  start=$(date +%s%N)
  feed | "$qn470" decode "$work/in.pro" "$work/out.pro" 2>"$work/sum" &
  pid=$!
  peak_kb=0
  while kill -0 "$pid" 2>/dev/null; do
    hwm=$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status" 2>/dev/null || true)
    [ -n "$hwm" ] && [ "$hwm" -gt "$peak_kb" ] && peak_kb=$hwm
    sleep 0.05
  done
  wait "$pid"
  wall="$(( ($(date +%s%N) - start) / 1000000 )) ms"
fi
echo "decoder sum: $(cat "$work/sum")"
echo "wall time: $wall"
echo "peak resident memory: $(( peak_kb / 1024 )) MiB ($peak_kb kB)"
if [ "$peak_kb" -gt $((50 * 1024)) ]; then
  echo "over the 50 MiB target" >&2
  exit 1
fi
