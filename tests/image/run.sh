#!/usr/bin/env bash
# tests/image/run.sh [SCENARIO...] — runs each scenario twice on a fresh copy
# of the demo disk: with the native build (build/Pavrolinex.tap, build/peers/)
# and with the release images (build-tap/Pavrolinex.tap, build-tap/peers/,
# under qemu-mipsel on uClibc-ng), then compares the network output, every
# snapshot (byte for byte) and the disk afterwards (names and sizes). Prints
# one line a scenario; exit status 1 when any differs. Needs ./pvr build and
# ./pvr tap first. PVR_IMAGE_KEEP=1 keeps the work folder.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
for f in build/recorder build/tools/demodisk build/Pavrolinex.tap build-tap/Pavrolinex.tap \
  build-tap/taphost; do
  [ -e "$f" ] || { echo "image: $f is missing (./pvr build, ./pvr tap)" >&2; exit 2; }
done
work=$(mktemp -d /tmp/pvr-image.XXXXXX)
[ "${PVR_IMAGE_KEEP:-}" = 1 ] || trap 'rm -rf "$work"' EXIT

# name | AutoStart peers | preparation (run in the disk folder) | script
scenarios=(
  "boot||:|idle:5 FileList idle:3 snap:boot.png"
  "browse||:|idle:5 FileList idle:2 Down Down Ok idle:2 snap:folder.png Exit idle:2
    FastForward idle:2 snap:page.png Rewind Up Up idle:2 snap:back.png"
  "play||:|idle:5 FileList idle:2 Up Ok wait:20 Stop idle:3 FileList idle:2 snap:stopped.png
    Ok wait:2 Stop idle:3 FileList idle:2 snap:resumed.png"
  "recycle||:|idle:5 FileList idle:2 Up Blue idle:1 snap:ask.png Left Ok idle:3
    snap:deleted.png Recall idle:2 snap:bin.png Ok idle:2 snap:inside.png Ok idle:2
    snap:restored.png"
  "move||:|idle:5 FileList idle:2 Up Yellow idle:2 snap:window.png Down Ok idle:3
    snap:moved.png"
  "copy||:|idle:5 FileList idle:2 Up Up Up Yellow idle:2 Up idle:1 snap:window.png
    Ok idle:3 wait:5 snap:copied.png"
  "rename||:|idle:5 FileList idle:2 Up Option idle:2 snap:info.png Ok idle:2 snap:keyboard.png
    Right Ok Ok idle:1 snap:typed.png Record idle:2 snap:renamed.png Exit idle:2"
  "config||:|idle:5 FileList idle:2 Menu idle:2 snap:menu.png 2 Ok idle:1 Right idle:1
    snap:changed.png Record idle:3 snap:saved.png"
  "tagsmith|Tagsmith|:|idle:5 FileList idle:2 Up hold:Info idle:5 snap:tagsmith.png Exit
    idle:3 snap:closed.png"
  "apps|TSRCommander RemoteControl|:|idle:5 hold:Exit idle:3 snap:menu.png Down idle:1
    snap:down.png Exit idle:2 FileList idle:2 snap:list.png"
  "damaged-settings||mkdir -p ProgramFiles/Settings/Pavrolinex &&
    printf '[General\\n\\377\\376=\\n%%s\\n' 'Language=%%n%%s' >ProgramFiles/Settings/Pavrolinex/Skerrowby.ini &&
    printf '\\0\\1\\2garbage' >ProgramFiles/Settings/Pavrolinex/SkerrowbyPlayback.dat|idle:5 FileList idle:3
    snap:damaged.png"
)

build/tools/demodisk "$work/base" >/dev/null 2>&1
mapfile -t baseArgs <"$work/base/recorder.args"

# run SIDE NAME PEERS PREPARATION SCRIPT: one run of a scenario into $work/NAME/SIDE.
run() {
  local side=$1 name=$2 peers=$3 prep=$4 script=$5
  local dir=$work/$name/$side tap=build/Pavrolinex.tap peerDir=build/peers
  [ "$side" = image ] && tap=build-tap/Pavrolinex.tap && peerDir=build-tap/peers
  mkdir -p "$dir"
  cp -a "$work/base" "$dir/disk"
  (cd "$dir/disk/hd" && eval "$prep")
  for p in $peers; do
    mkdir -p "$dir/disk/hd/ProgramFiles/AutoStart"
    cp "$peerDir/$p.tap" "$dir/disk/hd/ProgramFiles/AutoStart/"
  done
  # The demo disk's applications are the native build's: each side gets its own.
  find "$dir/disk" -name '*.tap' -print0 | while IFS= read -r -d '' t; do
    if [ -e "$peerDir/$(basename "$t")" ]; then cp "$peerDir/$(basename "$t")" "$t"; fi
  done
  local args=()
  for a in "${baseArgs[@]}"; do args+=("${a//$work\/base/$dir/disk}"); done
  (cd "$dir" && "$root/build/recorder" --disk disk/hd "${args[@]}" --tap "$root/$tap" \
    --script "$script" >out.txt 2>&1) || { echo "exit status $?" >>"$dir/out.txt"; }
  grep -E '^(net|console)\| ' "$dir/out.txt" >"$dir/net.txt" || true
  (cd "$dir/disk" && find . -path ./usb-drive -prune -o -name '*.tap' -printf '%p\n' -o -printf '%p %s\n' | sort) >"$dir/files.txt"
}

# The first line where two files differ.
first_diff() {
  diff "$1" "$2" >"$work/diff.txt" || true
  grep -m1 '^[<>]' "$work/diff.txt" || true
}

failed=0
for entry in "${scenarios[@]}"; do
  IFS='|' read -r name peers prep script <<<"$(echo "$entry" | tr '\n' ' ')"
  if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
  start=$SECONDS
  run native "$name" "$peers" "$prep" "$script"
  run image "$name" "$peers" "$prep" "$script"
  n=$work/$name/native i=$work/$name/image
  why=()
  grep -q "under qemu-mipsel" "$i/out.txt" || why+=("the image did not run under qemu")
  cmp -s "$n/net.txt" "$i/net.txt" || why+=("network output: $(first_diff "$n/net.txt" "$i/net.txt")")
  cmp -s "$n/files.txt" "$i/files.txt" || why+=("disk: $(first_diff "$n/files.txt" "$i/files.txt")")
  snaps=0
  for png in "$n"/*.png; do
    [ -e "$png" ] || continue
    snaps=$((snaps + 1))
    cmp -s "$png" "$i/$(basename "$png")" || why+=("snapshot $(basename "$png") differs")
  done
  [ "$snaps" -gt 0 ] || why+=("no snapshot")
  if [ ${#why[@]} -eq 0 ]; then
    printf 'ok   %-18s %2d snapshots, %3d lines of network output (%d s)\n' "$name" "$snaps" \
      "$(wc -l <"$n/net.txt")" $((SECONDS - start))
  else
    failed=1
    printf 'FAIL %-18s %s\n' "$name" "${why[0]}"
    for w in "${why[@]:1}"; do printf '     %-18s %s\n' "" "$w"; done
    echo "     (native: $n, image: $i)"
  fi
done
[ "$failed" = 0 ] || { PVR_IMAGE_KEEP=1; trap - EXIT; echo "image: kept $work" >&2; }
exit $failed
