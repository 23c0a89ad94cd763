#!/usr/bin/env bash
# A sweep on a real single-node Slurm: the test starts munged, slurmctld and
# slurmd on this machine (tests/cluster/slurm.conf.in: its CPUs, every file
# under a temporary folder, ports of its own), submits the sweep as a job
# array of 4 shards (scripts/slurm/sweep.sbatch) and the merge after it
# (scripts/slurm/merge.sbatch, --dependency=afterany, sbatch --wait), and
# compares the merged report with a single-machine sweep byte for byte; then
# loses one shard's results, reruns the shard the failed merge names, and
# compares again. It
# stops every daemon it started, by PID, however it ends.
#
#   bash tests/cluster/slurm_sweep.sh TESSALUNE SOURCE_DIR
set -euo pipefail
tessalune="$(realpath "$1")"
source_dir="$(realpath "$2")"
packages="Debian: slurmctld slurmd slurm-client munge"
. "$source_dir/tests/cluster/cluster_common.sh"

need munged mungekey slurmctld slurmd sbatch sinfo
[ "$(id -u)" = 0 ] || skip "slurmd runs jobs as their users and needs root"

dir="$(mktemp -d "${TMPDIR:-/tmp}/tessalune-slurm.XXXXXX")"
work="$dir/work"
pids=()
stop_daemons() {
  local status=$? pid i
  # Jobs still running (a test that failed half way) are cancelled first, so
  # that no job step outlives the daemons.
  if [ -n "${SLURM_CONF:-}" ] && [ -n "$(squeue -h 2>/dev/null)" ]; then
    scancel --full --user="$(id -un)" 2>/dev/null || true
    for _ in $(seq 50); do [ -z "$(squeue -h 2>/dev/null)" ] && break; sleep 0.1; done
  fi
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    pid="${pids[$i]}"
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  if [ "$status" -ne 0 ] && [ "$status" -ne 77 ]; then
    for log in "$dir"/*.log "$dir"/*.out "$dir"/munge/*.log "$work"/*.out; do
      [ -f "$log" ] && { echo "== $log"; tail -n 20 "$log"; }
    done
  fi
  # Job steps end on their own once their job has, removing their sockets
  # from the spool folder; the folder goes after them.
  for _ in $(seq 50); do
    [ -n "$(find "$dir/spool" -type s 2>/dev/null)" ] || break
    sleep 0.1
  done
  rm -rf "$dir"
  exit "$status"
}
trap stop_daemons EXIT
trap 'exit 1' INT TERM

# munged, its socket folder made first.
mkdir -m 700 "$dir/munge" "$dir/state" "$dir/spool"
mungekey --create --keyfile="$dir/munge/munge.key" >/dev/null
chmod 400 "$dir/munge/munge.key"
munged --foreground --force --key-file="$dir/munge/munge.key" --socket="$dir/munge/munge.socket" \
  --pid-file="$dir/munge/munged.pid" --log-file="$dir/munge/munged.log" --seed-file="$dir/munge/munged.seed" \
  >"$dir/munged.out" 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -S "$dir/munge/munge.socket" ] && break; sleep 0.1; done
[ -S "$dir/munge/munge.socket" ] || { echo "FAIL: munged did not start"; exit 1; }

node="$(hostname -s)"
port=$((20000 + RANDOM % 20000))
sed -e "s|@DIR@|$dir|g" -e "s|@NODE@|$node|g" -e "s|@CPUS@|$(nproc)|g" -e "s|@USER@|$(id -un)|g" \
  -e "s|@CTLD_PORT@|$port|g" -e "s|@SLURMD_PORT@|$((port + 1))|g" \
  "$source_dir/tests/cluster/slurm.conf.in" >"$dir/slurm.conf"
export SLURM_CONF="$dir/slurm.conf"
slurmctld -D -c -f "$SLURM_CONF" >"$dir/slurmctld.out" 2>&1 &
pids+=($!)
slurmd -D -f "$SLURM_CONF" -N "$node" >"$dir/slurmd.out" 2>&1 &
pids+=($!)
state=""
for _ in $(seq 300); do
  state="$(sinfo -h -o %t 2>/dev/null || true)"
  [ "$state" = idle ] && break
  sleep 0.2
done
[ "$state" = idle ] || { echo "FAIL: the node did not come up (state '$state')"; exit 1; }
echo "slurm up: node $node, $(nproc) CPUs, ports $port-$((port + 1))"

make_channels
cd "$work"
export TESSALUNE="$tessalune"
array="$(sbatch --parsable --array=0-3 --output="$work/sweep-%a.out" \
  "$source_dir/scripts/slurm/sweep.sbatch" "$work/results" "${sweep_options[@]}")"
echo "array job $array submitted"
sbatch --wait --dependency="afterany:$array" --output="$work/merge.out" \
  "$source_dir/scripts/slurm/merge.sbatch" "$work/results" "$work/report.txt"
echo "results: $(cd "$work/results" && ls shard-*.jsonl | tr '\n' ' ')"
[ -z "$(tr -d '\n' <"$work/results/missing")" ] || { echo "FAIL: points missing"; exit 1; }
same_as_single "$work/report.txt"

# A task whose results are lost: the merge job fails and names its shard;
# an array of that shard alone (the split kept in results/shards) completes
# the sweep.
rm "$work/results/shard-2.jsonl" "$work/report.txt"
if sbatch --wait --output="$work/merge-2.out" "$source_dir/scripts/slurm/merge.sbatch" "$work/results" \
  "$work/report.txt" >/dev/null; then
  echo "FAIL: the merge job succeeded with a shard missing"
  exit 1
fi
missing="$(cat "$work/results/missing")"
[ "$missing" = 2 ] && [ ! -e "$work/report.txt" ] || { echo "FAIL: missing '$missing', not 2"; exit 1; }
grep "rerun:" "$work/merge-2.out"
rerun="$(sbatch --parsable --array="$missing" --output="$work/rerun-%a.out" \
  "$source_dir/scripts/slurm/sweep.sbatch" "$work/results" "${sweep_options[@]}")"
sbatch --wait --dependency="afterany:$rerun" --output="$work/merge-3.out" \
  "$source_dir/scripts/slurm/merge.sbatch" "$work/results" "$work/report.txt"
same_as_single "$work/report.txt"
