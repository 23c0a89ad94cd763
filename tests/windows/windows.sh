#!/usr/bin/env bash
# The Windows DLL's tests, run from the Linux build's CTest:
#   windows.sh prefix                        makes the Wine prefix once
#   windows.sh stop                          ends the Wine server of the prefix
#   windows.sh run PROGRAM.exe [ARGS...]     runs a Windows program under Wine
#   windows.sh compare LINUX_HOST LIBRARY.so WINDOWS_HOST.exe LIBRARY.dll
#                                            both hosts' transcripts, byte for byte
#   windows.sh exports LIBRARY.dll           exports exactly the three entry points
#   windows.sh imports LIBRARY.dll           imports Windows system DLLs only
#   windows.sh vector-moves LIBRARY.dll PROBE.a
#                                            no aligned 32/64-byte moves on the stack
#   windows.sh qualify TESSALUNE PROBE.exe EXPECT LIBRARY.dll AMI [ARGS...]
#                                            `tessalune qualify` on the DLL under Wine:
#                                            EXPECT `pass` (every check PASS or SKIP)
#                                            or the one check that must FAIL
# Exits 77 (skipped) when the Windows build, its objdump or Wine is missing,
# unless TESSALUNE_REQUIRE_WINDOWS=1, which makes that a failure.
set -euo pipefail

objdump_tool=x86_64-w64-mingw32-objdump
export WINEPREFIX="${WINEPREFIX:-${TESSALUNE_DEFAULT_WINEPREFIX:-${HOME:-/tmp}/.wine}}"
export WINEDEBUG=-all

skip() {
  if [ "${TESSALUNE_REQUIRE_WINDOWS:-0}" = 1 ]; then
    echo "FAILED: $* (TESSALUNE_REQUIRE_WINDOWS=1)" >&2
    exit 1
  fi
  echo "skipped: $*" >&2
  exit 77
}

need_files() {
  for f in "$@"; do
    [ -f "$f" ] || skip "$f is missing; build it with: cmake --workflow --preset windows"
  done
}

need_objdump() { command -v "$objdump_tool" >/dev/null || skip "$objdump_tool is not installed"; }

wine_program() {
  local w
  for w in wine64 wine /usr/lib/wine/wine64; do
    if command -v "$w" >/dev/null; then
      command -v "$w"
      return
    fi
  done
  skip "Wine is not installed (Debian: wine64)"
}

# Wine's server program, which sits beside the loader.
wine_server() {
  if [ -x "$(dirname "$1")/wineserver" ]; then
    echo "$(dirname "$1")/wineserver"
  else
    command -v wineserver
  fi
}

# A Linux path as Wine's Z: drive sees it.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

now() { date +%s.%N; }
seconds_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }

cmd="${1:-}"
shift || true
case "$cmd" in
  prefix)
    wine="$(wine_program)"
    if [ -f "$WINEPREFIX/system.reg" ]; then
      echo "Wine prefix $WINEPREFIX is there"
      exit 0
    fi
    start="$(now)"
    mkdir -p "$(dirname "$WINEPREFIX")"
    # No Mono or Gecko: console programs need neither, and nobody is there to
    # answer the offer to install them.
    WINEDLLOVERRIDES="mscoree=;mshtml=" "$wine" wineboot --init >/dev/null 2>&1
    # The registry files appear once the server has written them and quit.
    "$(wine_server "$wine")" -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "wineboot made no prefix in $WINEPREFIX" >&2; exit 1; }
    echo "Wine prefix $WINEPREFIX made in $(seconds_since "$start") s"
    ;;

  stop)
    "$(wine_server "$(wine_program)")" -k 2>/dev/null || true
    ;;

  run)
    program="$1"
    shift
    need_files "$program"
    wine="$(wine_program)"
    start="$(now)"
    status=0
    "$wine" "$program" "$@" || status=$?
    echo "$(basename "$program") exited $status under Wine after $(seconds_since "$start") s"
    exit "$status"
    ;;

  compare)
    linux_host="$1" linux_lib="$2" windows_host="$3" windows_dll="$4"
    need_files "$windows_host" "$windows_dll"
    wine="$(wine_program)"
    work="$(mktemp -d)"
    trap 'rm -rf "$work"' EXIT
    # The transcript on stdout; on stderr what the model reports as it goes.
    "$linux_host" "$linux_lib" >"$work/linux.txt" 2>"$work/linux.err"
    start="$(now)"
    "$wine" "$windows_host" "$(windows_path "$windows_dll")" >"$work/windows.txt" 2>"$work/windows.err"
    echo "Windows host ran under Wine in $(seconds_since "$start") s"
    for part in txt err; do
      if ! cmp -s "$work/linux.$part" "$work/windows.$part"; then
        echo "The Windows DLL's $part output differs from the Linux library's (- Linux, + Windows):" >&2
        diff -u "$work/linux.$part" "$work/windows.$part" | head -n 60 >&2
        exit 1
      fi
    done
    summary="$(tail -n 1 "$work/linux.txt")"
    # A transcript of zeros would match trivially.
    [[ "$summary" =~ ^cases\ [0-9]+\ samples\ [0-9]+\ nonzero\ [1-9] ]] || {
      echo "unexpected transcript end: $summary" >&2
      exit 1
    }
    echo "identical transcripts ($(wc -l <"$work/linux.txt") lines) and reports ($(wc -l <"$work/linux.err") lines): $summary"
    ;;

  exports)
    dll="$1"
    need_files "$dll"
    need_objdump
    names="$("$objdump_tool" -p "$dll" | awk '/^\[Ordinal\/Name Pointer\] Table/ { on = 1; next } on && NF == 0 { on = 0 } on { print $NF }' | sort | tr '\n' ' ')"
    echo "exports: $names"
    [ "$names" = "AMI_Close AMI_GetWave AMI_Init " ] || { echo "expected exactly AMI_Close AMI_GetWave AMI_Init" >&2; exit 1; }
    ;;

  imports)
    dll="$1"
    need_files "$dll"
    need_objdump
    names="$("$objdump_tool" -p "$dll" | awk '/DLL Name:/ { print $3 }')"
    echo "imports:" $names
    [ -n "$names" ] || { echo "no import table found" >&2; exit 1; }
    # The Windows system DLLs: kernel and C runtime. A C++ runtime DLL
    # (libstdc++, libgcc_s, libwinpthread) would not be on a Windows machine.
    others="$(printf '%s\n' $names | grep -v -i -x -E 'kernel32\.dll|msvcrt\.dll|ucrtbase\.dll|api-ms-win-[a-z0-9-]+\.dll' || true)"
    [ -z "$others" ] || { echo "imports beyond the Windows system DLLs:" $others >&2; exit 1; }
    ;;

  vector-moves)
    dll="$1" probe="$2"
    need_files "$dll" "$probe"
    need_objdump
    aligned='[[:space:]](v?movap[sd]|v?movdqa(32|64)?)[[:space:]]'
    unaligned='[[:space:]](v?movup[sd]|v?movdqu(32|64)?)[[:space:]]'
    # The option is in effect: each of the 9 aligned moves in the probe's asm
    # came out unaligned.
    probe_asm="$("$objdump_tool" -d "$probe")"
    if grep -E "$aligned" <<<"$probe_asm" >&2; then
      echo "the assembler kept the aligned moves above: -Wa,-muse-unaligned-vector-move is not in effect" >&2
      exit 1
    fi
    count="$(grep -c -E "$unaligned" <<<"$probe_asm" || true)"
    [ "$count" = 9 ] || { echo "expected the probe's 9 moves unaligned, found $count" >&2; exit 1; }
    # And the DLL holds no aligned 32- or 64-byte move to or from the stack.
    dll_asm="$("$objdump_tool" -d --no-show-raw-insn "$dll")"
    wide="$(grep -c -E '%[yz]mm' <<<"$dll_asm" || true)"
    if grep -E "$aligned" <<<"$dll_asm" | grep -E '%[yz]mm' | grep -E '\(%r[sb]p' >&2; then
      echo "aligned 32/64-byte stack moves in $dll" >&2
      exit 1
    fi
    echo "probe: 9 of 9 aligned moves assembled unaligned; DLL: $wide instructions on ymm/zmm, no aligned stack move among them"
    ;;

  qualify)
    tessalune="$1" probe="$2" expect="$3" dll="$4" ami="$5"
    shift 5
    need_files "$probe" "$dll"
    wine="$(wine_program)"
    start="$(now)"
    status=0
    out="$("$tessalune" qualify "$dll" --ami "$ami" --probe "$probe" --wine "$wine" "$@")" || status=$?
    echo "$out"
    echo "qualify ran under Wine in $(seconds_since "$start") s"
    failing="$(awk '$1 == "FAIL" { printf "%s ", $2 }' <<<"$out")"
    warned="$(awk '$1 == "WARN" { printf "%s ", $2 }' <<<"$out")"
    [ -z "$warned" ] || { echo "warnings: $warned" >&2; exit 1; }
    if [ "$expect" = pass ]; then
      [ "$status" = 0 ] && [ -z "$failing" ] || { echo "expected every check to pass; failed: $failing" >&2; exit 1; }
    else
      [ "$status" = 1 ] && [ "$failing" = "$expect " ] ||
        { echo "expected $expect alone to fail; failed: ${failing:-none} (status $status)" >&2; exit 1; }
    fi
    ;;

  *)
    echo "usage: windows.sh prefix|stop|run|compare|exports|imports|vector-moves|qualify ..." >&2
    exit 2
    ;;
esac
