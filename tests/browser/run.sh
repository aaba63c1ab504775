#!/usr/bin/env bash
# The browser test: the recorder's page in Debian's Chromium (headless, no
# browser downloads), driven by Playwright (playwright-core). Installs what it
# needs, builds, makes a small disk, starts the recorder on a free loopback
# port, runs the test and stops the recorder again. Fails when a check fails.
#   tests/browser/run.sh                    the test
#   tests/browser/run.sh --screenshot FILE  a picture of the page with the list
#                                           open on the demo disk (for the README)
set -euo pipefail
screenshot=""
if [ "${1:-}" = "--screenshot" ] && [ -n "${2:-}" ]; then
  screenshot=$(realpath -m "$2")
fi
cd "$(dirname "$0")/../.."
ROOT=$PWD
HERE=$ROOT/tests/browser
BUILD=${PVR_BUILD_DIR:-$ROOT/build}

missing=()
for p in chromium nodejs npm; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node may come from elsewhere than Debian's package.
if command -v node >/dev/null && command -v npm >/dev/null; then
  missing=("${missing[@]/nodejs}"); missing=("${missing[@]/npm}")
fi
read -r -a missing <<< "${missing[*]}"
if [ ${#missing[@]} -gt 0 ]; then
  echo "browser: installing ${missing[*]}" >&2
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update -qq >/dev/null || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
if [ ! -d "$HERE/node_modules/playwright-core" ] ||
   [ "$HERE/package-lock.json" -nt "$HERE/node_modules/.package-lock.json" ]; then
  (cd "$HERE" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --silent)
fi

if [ ! -f "$BUILD/build.ninja" ]; then
  cmake -S "$ROOT" -B "$BUILD" -G Ninja >/dev/null
fi
cmake --build "$BUILD" --target recorder demodisk pavrolinex_tap >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/pvr-browser.XXXXXX")
pid=""
cleanup() {
  if [ -n "$pid" ]; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

if [ -n "$screenshot" ]; then
  "$BUILD/tools/demodisk" "$work/disk" >/dev/null
else
  "$BUILD/tools/demodisk" --small "$work/disk" >/dev/null
fi
extra=()
while IFS= read -r line; do
  [ -n "$line" ] && extra+=("$line")
done < "$work/disk/recorder.args"
# Port 0: the recorder picks a free port and prints its address.
"$BUILD/recorder" --disk "$work/disk/hd" --channels "$work/disk/channels.txt" \
  ${extra[@]+"${extra[@]}"} --web "127.0.0.1:0" >"$work/recorder.log" 2>&1 &
pid=$!
url=""
for _ in $(seq 200); do
  url=$(grep -o 'http://127\.0\.0\.1:[0-9]*/' "$work/recorder.log" | head -1 || true)
  [ -n "$url" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$url" ]; then
  echo "browser: the recorder did not start:" >&2
  sed 's/^/  /' "$work/recorder.log" >&2
  exit 1
fi

status=0
PVR_SCREENSHOT=$screenshot PVR_URL="$url" node "$HERE/recorder.test.mjs" || status=$?
if [ "$status" -ne 0 ]; then
  echo "browser: recorder output:" >&2
  sed 's/^/  /' "$work/recorder.log" >&2
fi
exit "$status"
