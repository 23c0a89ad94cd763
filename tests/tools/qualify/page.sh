#!/usr/bin/env bash
# The page of `tessalune qualify --report` in a real browser: headless
# Chromium opens it, takes a screenshot and reads the page back. Fails on a
# console error, a picture that does not load, or a blank page.
#   page.sh TESSALUNE LIBRARY AMI [QUALIFY-ARGS...]   qualify writes a page; check it
#   page.sh --page PAGE.html                          check a page as it is
# Exits 77 (skipped) without Chromium, unless TESSALUNE_REQUIRE_CHROMIUM=1,
# which makes that a failure (CI).
set -euo pipefail

browser=""
for b in chromium chromium-browser; do
  if command -v "$b" >/dev/null; then
    browser="$(command -v "$b")"
    break
  fi
done
if [ -z "$browser" ]; then
  if [ "${TESSALUNE_REQUIRE_CHROMIUM:-0}" = 1 ]; then
    echo "FAILED: Chromium is not installed (Debian: chromium) and TESSALUNE_REQUIRE_CHROMIUM=1" >&2
    exit 1
  fi
  echo "skipped: Chromium is not installed (Debian: chromium)" >&2
  exit 77
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if [ "${1:-}" = --page ]; then
  cp "$2" "$work/page.html"
else
  tessalune="$1" library="$2" ami="$3"
  shift 3
  status=0
  "$tessalune" qualify "$library" --ami "$ami" --report "$work/page.html" "$@" || status=$?
  [ "$status" -le 1 ] || { echo "qualify exited $status" >&2; exit 1; }
fi
[ -s "$work/page.html" ] || { echo "no page to open" >&2; exit 1; }

# A copy that counts what the browser makes of the page: console errors and
# uncaught errors from the start, then on load each picture and the text.
probe='<script>
var qualifyErrors = 0;
window.addEventListener("error", function () { qualifyErrors++; }, true);
var consoleError = console.error;
console.error = function () { qualifyErrors++; consoleError.apply(console, arguments); };
window.addEventListener("load", function () {
  var images = document.images, loaded = 0;
  for (var i = 0; i < images.length; i++)
    if (images[i].complete && images[i].naturalWidth > 0 && images[i].naturalHeight > 0) loaded++;
  document.documentElement.setAttribute("data-qualify-probe",
    "images " + images.length + " loaded " + loaded + " errors " + qualifyErrors +
    " text " + document.body.innerText.trim().length);
});
</script>'
awk -v probe="$probe" '{ print } /<head>/ && !done { print probe; done = 1 }' "$work/page.html" >"$work/probe.html"

flags=(--headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run --disable-extensions
       --user-data-dir="$work/profile" --window-size=1100,1600 --virtual-time-budget=5000)
"$browser" "${flags[@]}" --enable-logging=stderr --v=0 --screenshot="$work/shot.png" "file://$work/page.html" \
  >"$work/shot.out" 2>"$work/shot.err" || true
"$browser" "${flags[@]}" --dump-dom "file://$work/probe.html" >"$work/dom.html" 2>"$work/dom.err" || true

faults=0
console="$(grep -h 'CONSOLE' "$work/shot.err" "$work/dom.err" | grep -i -E 'error|uncaught|failed' || true)"
if [ -n "$console" ]; then
  echo "console errors:" >&2
  echo "$console" >&2
  faults=1
fi
counts="$(grep -o 'data-qualify-probe="[^"]*"' "$work/dom.html" || true)"
echo "the browser's view: ${counts:-nothing}"
if [[ ! "$counts" =~ images\ ([0-9]+)\ loaded\ ([0-9]+)\ errors\ ([0-9]+)\ text\ ([0-9]+) ]]; then
  echo "the page did not load in the browser" >&2
  exit 1
fi
images="${BASH_REMATCH[1]}" loaded="${BASH_REMATCH[2]}" errors="${BASH_REMATCH[3]}" text="${BASH_REMATCH[4]}"
[ "$images" -ge 1 ] || { echo "the page has no pictures" >&2; faults=1; }
[ "$loaded" = "$images" ] || { echo "$((images - loaded)) of $images pictures did not load" >&2; faults=1; }
[ "$errors" = 0 ] || { echo "$errors errors in the page" >&2; faults=1; }
[ "$text" -ge 200 ] || { echo "the page shows almost no text ($text characters)" >&2; faults=1; }

# The screenshot: a blank page compresses to a handful of byte values.
[ -s "$work/shot.png" ] || { echo "no screenshot" >&2; exit 1; }
/usr/bin/python3 - "$work/shot.png" <<'PY' || faults=1
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG file"
at, idat, size = 8, b"", None
while at < len(data):
    length, kind = struct.unpack(">I4s", data[at:at + 8])
    body = data[at + 8:at + 8 + length]
    if kind == b"IHDR":
        size = struct.unpack(">II", body[:8])
    if kind == b"IDAT":
        idat += body
    at += 12 + length
pixels = zlib.decompress(idat)
distinct = len(set(pixels))
print(f"screenshot {size[0]}x{size[1]}, {distinct} distinct byte values")
if distinct < 16:
    sys.exit("the screenshot is blank")
PY
[ "$faults" = 0 ] || exit 1
echo "the page loads cleanly: $images pictures, $text characters of text, no console error"
