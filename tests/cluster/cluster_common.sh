# What the cluster tests share (sourced): skipping, the test folder, the
# channels and the sweep options, the single-machine tables.
#
# A test that lacks its packages skips (exit 77, which CTest reports as
# skipped) with the reason; with TESSALUNE_REQUIRE_CLUSTER=1 (set by .ci/run)
# it fails instead.

skip() {
  if [ "${TESSALUNE_REQUIRE_CLUSTER:-0}" = 1 ]; then
    echo "FAIL: $1 (TESSALUNE_REQUIRE_CLUSTER=1 requires this test to run)"
    exit 1
  fi
  echo "SKIP: $1"
  exit 77
}

need() {
  local program
  for program in "$@"; do
    command -v "$program" >/dev/null 2>&1 || skip "$program is not installed ($packages)"
  done
}

# Two generated lanes in a channel list under $work, and the sweep's options:
# few bits, a seed, so that the test takes seconds.
make_channels() {
  mkdir -p "$work"
  "$tessalune" make-channel --loss 8 "$work/lane-a.s4p" >/dev/null
  "$tessalune" make-channel --loss 16 "$work/lane-b.s4p" >/dev/null
  printf '# two lanes\nlane-a.s4p\nlane-b.s4p --ports 1,2,3,4\n' >"$work/lanes.txt"
  sweep_options=(--bits 2000 --seed 11 --channels "$work/lanes.txt")
  "$tessalune" sweep "${sweep_options[@]}" --tables-only >"$work/single.txt"
}

# The merged report against the single-machine tables, byte for byte.
same_as_single() {
  if cmp "$work/single.txt" "$1"; then
    echo "PASS: the merged report is the single-machine one ($(wc -l <"$1") lines, $(wc -c <"$1") bytes)"
  else
    diff "$work/single.txt" "$1" | head -20
    echo "FAIL: the merged report differs from the single-machine one"
    exit 1
  fi
}
