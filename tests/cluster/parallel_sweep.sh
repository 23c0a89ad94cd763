#!/usr/bin/env bash
# A sweep in 4 shards under GNU parallel on this machine; one shard is
# killed part way through. `tessalune merge --missing` names it, the rerun
# completes it, and the merged report is the single-machine one byte for
# byte.
#
#   bash tests/cluster/parallel_sweep.sh TESSALUNE SOURCE_DIR
set -euo pipefail
tessalune="$(realpath "$1")"
source_dir="$(realpath "$2")"
packages="Debian: parallel"
. "$source_dir/tests/cluster/cluster_common.sh"

need parallel
dir="$(mktemp -d "${TMPDIR:-/tmp}/tessalune-parallel.XXXXXX")"
work="$dir/work"
runner=""
cleanup() {
  local status=$?
  [ -n "$runner" ] && kill "$runner" 2>/dev/null && wait "$runner" 2>/dev/null
  rm -rf "$dir"
  exit "$status"
}
trap cleanup EXIT
make_channels
results="$work/results"
mkdir -p "$results"

# Each shard records its PID, so that the test can stop one of them alone.
shard() {
  parallel --will-cite -j 4 "echo \$\$ >$results/pid-{}; exec '$tessalune' sweep ${sweep_options[*]} --jobs 1 \
    --shard {}/4 --results $results/shard-{}.jsonl >$results/out-{}.txt" ::: "$@"
}

shard 0 1 2 3 &
runner=$!
# Shard 2 stops after its first few points.
for _ in $(seq 1000); do
  [ -f "$results/shard-2.jsonl" ] && [ "$(wc -l <"$results/shard-2.jsonl")" -ge 4 ] && break
  sleep 0.01
done
kill -9 "$(cat "$results/pid-2")"
wait "$runner" || true
runner=""
echo "shard 2 stopped after $(($(wc -l <"$results/shard-2.jsonl") - 1)) of its points"

missing="$("$tessalune" merge --missing "$results"/shard-*.jsonl 2>/dev/null)"
[ "$missing" = 2 ] || { echo "FAIL: merge --missing said '$missing', not 2"; exit 1; }
if "$tessalune" merge "$results"/shard-*.jsonl >"$work/partial.txt" 2>"$work/partial.err"; then
  echo "FAIL: a merge with points missing succeeded"
  exit 1
fi
head -n 1 "$work/partial.err"

# The rerun: the array list as shard numbers.
rerun=()
for range in ${missing//,/ }; do rerun+=($(seq "${range%-*}" "${range#*-}")); done
shard "${rerun[@]}"
"$tessalune" merge "$results"/shard-*.jsonl >"$work/report.txt" 2>"$work/merge.err"
cat "$work/merge.err"
same_as_single "$work/report.txt"
