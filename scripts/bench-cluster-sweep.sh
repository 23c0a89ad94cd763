#!/usr/bin/env bash
# The scale of a split sweep, measured on this machine:
#   1. a sweep of CHANNELS generated lanes x every setting (63 for
#      tessalune_tx) at BITS bits, run as 1, 2 and 4 shards side by side
#      (each shard --jobs cores/shards, at least 1), each merged: wall time of
#      the shards, time and peak memory of the merge, and whether the merged
#      tables are the single-shard ones;
#   2. `tessalune merge` on synthetic result files: RECORDS records of as many
#      points, and RECORDS records of a tenth as many points (each recorded
#      ten times): time and peak memory.
#
#   bash scripts/bench-cluster-sweep.sh [TESSALUNE] [CHANNELS] [BITS] [RECORDS]
#   (defaults: build/release/tools/tessalune, 8, 100000, 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
tessalune="$(realpath "${1:-build/release/tools/tessalune}")"
channels="${2:-8}"
bits="${3:-100000}"
records="${4:-1000000}"
cores="$(nproc)"
dir="$(mktemp -d "${TMPDIR:-/tmp}/tessalune-bench.XXXXXX")"
trap 'rm -rf "$dir"' EXIT

# Seconds and peak resident memory (MiB) of a command, its output to $out.
measure() {
  local out="$1"
  shift
  /usr/bin/time -f "%e %M" -o "$dir/time" "$@" >"$out" 2>"$dir/stderr" || true
  read -r seconds kib <"$dir/time"
  mib=$((kib / 1024))
}

echo "== ${channels} channels x every setting at ${bits} bits on ${cores} cores"
: >"$dir/lanes.txt"
for ((c = 0; c < channels; c++)); do
  loss=$((6 + c * 2))
  "$tessalune" make-channel --loss "$loss" "$dir/lane-$c.s4p" >/dev/null
  echo "lane-$c.s4p" >>"$dir/lanes.txt"
done
options=(--bits "$bits" --channels "$dir/lanes.txt")
for shards in 1 2 4; do
  jobs=$((cores / shards > 0 ? cores / shards : 1))
  rm -f "$dir"/shard-*.jsonl
  start="$(date +%s%N)"
  for ((i = 0; i < shards; i++)); do
    "$tessalune" sweep "${options[@]}" --jobs "$jobs" --shard "$i/$shards" --results "$dir/shard-$i.jsonl" \
      >/dev/null &
  done
  wait
  wall_ms=$((($(date +%s%N) - start) / 1000000))
  measure "$dir/merged-$shards.txt" "$tessalune" merge "$dir"/shard-*.jsonl
  same="identical"
  [ "$shards" = 1 ] || cmp -s "$dir/merged-1.txt" "$dir/merged-$shards.txt" || same="DIFFERENT"
  printf '%d shard(s) x %d threads: sweep wall %d.%02d s; merge %s s, peak %d MiB; tables %s\n' \
    "$shards" "$jobs" $((wall_ms / 1000)) $((wall_ms % 1000 / 10)) "$seconds" "$mib" "$same"
done

# Synthetic results: the header of a sweep of POINTS/63 lanes, then one
# record per point (each COPIES times).
synthetic() {
  local points="$1" copies="$2"
  python3 - "$points" "$copies" "$dir/synthetic.jsonl" <<'PY'
import json, sys
points, copies, path = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
axes = [["emphasis", [str(e) for e in range(7)]], ["Vreg", ["0", "1", "2"]], ["corner", ["0", "1", "2"]]]
lanes = -(-points // 63)
with open(path, "w") as f:
    f.write(json.dumps({"sweep": "0000000000000001", "header": {"points": lanes * 63, "shards": 1, "ber": 1e-12,
            "bitTime": 1e-10, "wantsBer": True, "axes": axes,
            "channels": [{"label": "lane-%d.s4p" % c, "describe": []} for c in range(lanes)]}}) + "\n")
    for copy in range(copies):
        for p in range(lanes * 63):
            f.write(json.dumps({"sweep": "0000000000000001", "point": p, "channel": "lane-%d.s4p" % (p // 63),
                "axes": {"emphasis": str(p % 63 // 9), "Vreg": str(p % 9 // 3), "corner": str(p % 3)},
                "parameters": "(tessalune_tx)", "ok": {"init": True, "getWave": True, "close": True, "stream": True},
                "message": "", "error": "", "eye": {"valid": True, "problem": "", "heightV": 0.3 + p * 1e-9,
                "widthUi": 0.7, "bitTime": 1e-10}, "atBer": {"ber": 1e-12, "open": True, "heightV": 0.25,
                "widthUi": 0.65}, "berValid": True, "seed": 4294967295, "getWaveSeconds": 0.03, "seconds": 0.3,
                "host": "node%d" % (p % 16)}, separators=(",", ":")) + "\n")
PY
}

echo "== merge of synthetic results"
for spec in "$records 1" "$((records / 10)) 10" "$((records / 10)) 1"; do
  read -r points copies <<<"$spec"
  synthetic "$points" "$copies"
  lines=$(($(wc -l <"$dir/synthetic.jsonl") - 1))
  size="$(du -m "$dir/synthetic.jsonl" | cut -f1)"
  measure /dev/null "$tessalune" merge "$dir/synthetic.jsonl"
  printf '%d records (%d MiB) of %d points: merge %s s, peak %d MiB\n' "$lines" "$size" "$((lines / copies))" \
    "$seconds" "$mib"
done
