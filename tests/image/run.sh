#!/usr/bin/env bash
# tests/image/run.sh [SCENARIO...] — runs each scenario twice on a fresh copy
# of the demo disk: with the native build (build/Pavrolinex.tap, build/peers/)
# and with the release images (build-tap/Pavrolinex.tap, build-tap/peers/,
# under qemu-mipsel on uClibc-ng), then compares the network output (and the
# drives' listings of `files:`), every snapshot (byte for byte) and the disk
# afterwards (names and sizes), and checks that both runs did what the
# scenario is named for (expect_NAME). Prints one line a scenario; exit status
# 1 when any differs or falls short. Needs ./pvr build and
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

# name | AutoStart peers | preparation (run in the disk folder) | script. Each
# scenario has an expectation, expect_NAME below, that both runs must meet.
scenarios=(
  "boot||:|idle:5 FileList idle:3 snap:boot.png"
  "browse||:|idle:5 FileList idle:2 Down Down Ok idle:2 snap:folder.png Exit idle:2
    FastForward idle:2 snap:page.png Rewind Up Up idle:2 snap:back.png"
  "play||:|idle:5 FileList idle:2 Up Ok wait:20 Stop idle:3 FileList idle:2 snap:stopped.png
    Up Ok wait:2 Stop idle:3 FileList idle:2 snap:resumed.png"
  "recycle||:|idle:5 FileList idle:2 Up Blue idle:1 snap:ask.png Left Ok idle:3 Blue idle:1
    Left Ok idle:3 snap:deleted.png Recall idle:2 Down idle:1 snap:bin.png Red idle:2
    snap:restored.png Recall idle:2 snap:back.png"
  "move||:|idle:5 FileList idle:2 Up Yellow idle:2 snap:window.png Down Ok idle:3
    snap:moved.png"
  "copy||truncate -s 20M 'DataFiles/Wetten dass.rec'|idle:5 FileList idle:2 Yellow idle:2 Up
    idle:1 snap:window.png Ok idle:3 snap:ask.png Ok idle:3 wait:5 snap:copied.png
    files:/DataFiles/USB"
  "rename||:|idle:5 FileList idle:2 Up Option idle:2 snap:info.png Ok idle:2 snap:keyboard.png
    Right Ok Ok idle:1 snap:typed.png Record idle:2 snap:renamed.png Exit idle:2"
  "config||:|idle:5 FileList idle:2 Menu idle:2 snap:menu.png 2 Ok idle:1 Right idle:1
    snap:changed.png Record idle:3 snap:saved.png"
  "tagsmith|Tagsmith|:|idle:5 FileList idle:2 Up hold:Info idle:5 snap:tagsmith.png Exit
    idle:3 snap:closed.png"
  "apps|TSRCommander RemoteControl|:|idle:5 hold:Exit idle:3 snap:menu.png Down idle:1
    snap:down.png Exit idle:2 FileList idle:2 snap:list.png"
  "manager||mv ProgramFiles/AutoStart/Tagsmith.tap ProgramFiles/ &&
    truncate -s 96K ProgramFiles/*.tap && touch -d '2025-05-30 18:00' ProgramFiles/*.tap|idle:5 FileList idle:2
    Subtitle idle:3 snap:manager.png Down Down Down idle:1 snap:chosen.png Ok idle:10
    snap:started.png"
  "multi||:|idle:5 FileList idle:2 3 Ok idle:2 Down Red Red Red Up Red idle:1
    snap:selected.png Blue idle:1 snap:ask.png Left Ok idle:3 snap:deleted.png Red idle:1
    snapnext:cleared.png hold:Red idle:2 snap:after.png"
  "covered||:|idle:5 osd:150,100,300,300,FF304050 idle:1 snap:before.png FileList idle:2
    snap:covered.png osd:clear idle:1 FileList idle:2 snap:open.png"
  "damaged-settings||mkdir -p ProgramFiles/Settings/Pavrolinex &&
    printf '[General\\n\\377\\376=\\n%%s\\n' 'Language=%%n%%s' >ProgramFiles/Settings/Pavrolinex/Skerrowby.ini &&
    printf '\\0\\1\\2garbage' >ProgramFiles/Settings/Pavrolinex/SkerrowbyPlayback.dat|idle:5 FileList idle:3
    snap:damaged.png"
)

# ---- expectations: each prints what did not happen in the run folder $1
settings=hd/ProgramFiles/Settings/Pavrolinex
# has DIR PATH...: each firmware path is a file or folder of the internal disk.
has() {
  local names p
  names=$(sed 's/ [0-9]*$//' "$1/files.txt")
  shift
  for p; do grep -qxF "./hd$p" <<<"$names" || echo "no $p"; done
}
hasnt() {
  local names p
  names=$(sed 's/ [0-9]*$//' "$1/files.txt")
  shift
  for p; do grep -qxF "./hd$p" <<<"$names" && echo "still $p"; done
  true
}
# recording PATH [SUFFIX]: a recording's three files.
recording() { printf '%s\n' "$1.rec${2:-}" "$1.rec.inf${2:-}" "$1.rec.nav${2:-}"; }
net_has() { grep -qF -- "$2" "$1/net.txt" || echo "no network line \"$2\""; }
# The settings file of a run as lines, without their line ends.
setting_lines() { tr -d '\r' <"$1/disk/$settings/$2"; }

expect_boot() { net_has "$1" "Pavrolinex: Start - Pavrolinex v"; }
expect_browse() {
  # The folder entered counts as viewed now, as the top one; one not entered does not.
  local seen
  seen=$(tr '\r' '\n' <"$1/disk/$settings/SkerrowbyLastView.dat" | tr -d '\0')
  local top=$(grep -a $'^/DataFiles\t' <<<"$seen" | cut -f2)
  grep -aqx $'/DataFiles/Dokumentationen\t'"$top" <<<"$seen" ||
    echo "/DataFiles/Dokumentationen not viewed at $top"
  grep -aqx $'/DataFiles/Archiv\t'"$top" <<<"$seen" && echo "/DataFiles/Archiv viewed"
  true
}
expect_play() {
  # The history's first line is the last recording played: resumed after its
  # 20 s (1025 blocks), not started again.
  local first
  first=$(setting_lines "$1" SkerrowbyPlayback.dat | sed -n 2p)
  [ "$(cut -f4 <<<"$first")" = "Eurovision Song Contest.rec" ] &&
    [ "$(cut -f2 <<<"$first")" -gt 1025 ] || echo "history starts \"$first\""
}
expect_recycle() {
  # Both went to the bin; only a restore brings the first back.
  mapfile -t back < <(recording "/DataFiles/Eurovision Song Contest")
  mapfile -t binned < <(recording "/DataFiles/Wetten dass" .del)
  has "$1" "${back[@]}" "${binned[@]}"
  hasnt "$1" "/DataFiles/Wetten dass.rec" "/DataFiles/Eurovision Song Contest.rec.del"
}
expect_move() {
  mapfile -t moved < <(recording "/DataFiles/Dokumentationen/Eurovision Song Contest")
  has "$1" "${moved[@]}"
  hasnt "$1" "/DataFiles/Eurovision Song Contest.rec"
}
expect_copy() {
  # One recording on the drive, whole (the source's sizes); the source stays.
  local want
  want=$(grep -F "./hd/DataFiles/Wetten dass.rec" "$1/files.txt" | sed 's|^./hd/DataFiles/|files\| |')
  [ "$(grep -c '^files| ' "$1/net.txt")" -gt 3 ] || echo "no listing of the drive"
  [ "$(grep '^files| [^/]* [0-9]*$' "$1/net.txt")" = "$want" ] ||
    echo "the drive's top folder holds not just the source's files: $want"
  has "$1" "/DataFiles/Wetten dass.rec"
}
expect_rename() {
  mapfile -t renamed < <(recording "/DataFiles/Eurovision Song Contestabb")
  has "$1" "${renamed[@]}"
  hasnt "$1" "/DataFiles/Eurovision Song Contest.rec"
}
expect_config() {
  # The recording rate (line 4) went from 2900 to 3000; no other line changed.
  diff <(tr -d '\r' <"$work/base/$settings/Skerrowby.ini" | sed '4s/^2900$/3000/') \
    <(setting_lines "$1" Skerrowby.ini) >/dev/null || echo "Skerrowby.ini: not just line 4 to 3000"
}
expect_tagsmith() { net_has "$1" "Tagsmith: showing Eurovision Song Contest"; }
expect_apps() { net_has "$1" "TSR Commander: slot 0 offers"; }
# Tagsmith is not in AutoStart here: only the manager starts it.
expect_manager() { net_has "$1" "Tagsmith: started"; }
expect_multi() {
  # Two of the three selected were deleted (the third deselected), on the bin.
  mapfile -t binned < <(recording "/DataFiles/Filme/Die Welle" .del
    recording "/DataFiles/Filme/Almanya – Willkommen in Deutschland" .del)
  has "$1" "${binned[@]}" "/DataFiles/Filme/Systemsprenger.rec" "/DataFiles/Filme/Victoria.rec"
  [ -s "$1/cleared.png" ] || echo "no held message"
}
expect_covered() {
  # The firmware's own display (read through plane 0) keeps the list closed;
  # once it is gone, the same key opens it.
  cmp -s "$1/before.png" "$1/covered.png" || echo "the list opened over the firmware's display"
  cmp -s "$1/covered.png" "$1/open.png" && echo "the list did not open once the display was gone"
  true
}
expect_damaged_settings() {
  # The damaged settings stay as they were; the damaged history is kept aside.
  cmp -s "$1/disk/$settings/Skerrowby.ini" "$1/prepared.ini" || echo "Skerrowby.ini changed"
  [ "$(stat -c %s "$1/disk/$settings/SkerrowbyPlayback.dat.old")" = 10 ] ||
    echo "the damaged history is not kept in SkerrowbyPlayback.dat.old"
}

build/tools/demodisk "$work/base" >/dev/null 2>&1
mapfile -t baseArgs <"$work/base/recorder.args"

# run SIDE NAME PEERS PREPARATION SCRIPT: one run of a scenario into $work/NAME/SIDE.
run() {
  local side=$1 name=$2 peers=$3 prep=$4 script=$5
  local dir=$work/$name/$side tap=build/Pavrolinex.tap peerDir=build/peers
  [ "$side" = image ] && tap=build-tap/Pavrolinex.tap && peerDir=build-tap/peers
  mkdir -p "$dir"
  cp -a "$work/base" "$dir/disk"
  for p in $peers; do
    mkdir -p "$dir/disk/hd/ProgramFiles/AutoStart"
    cp "$peerDir/$p.tap" "$dir/disk/hd/ProgramFiles/AutoStart/"
  done
  # The demo disk's applications are the native build's: each side gets its own.
  find "$dir/disk" -name '*.tap' -print0 | while IFS= read -r -d '' t; do
    if [ -e "$peerDir/$(basename "$t")" ]; then cp "$peerDir/$(basename "$t")" "$t"; fi
  done
  (cd "$dir/disk/hd" && eval "$prep")
  cp "$dir/disk/$settings/Skerrowby.ini" "$dir/prepared.ini" 2>/dev/null || true
  local args=()
  for a in "${baseArgs[@]}"; do args+=("${a//$work\/base/$dir/disk}"); done
  (cd "$dir" && "$root/build/recorder" --disk disk/hd "${args[@]}" --tap "$root/$tap" \
    --script "$script" >out.txt 2>&1) || { echo "exit status $?" >>"$dir/out.txt"; }
  grep -E '^(net|console|files)\| ' "$dir/out.txt" >"$dir/net.txt" || true
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
  for side in native image; do
    d=$work/$name/$side
    if grep -q '^exit status' "$d/out.txt"; then
      why+=("$side: $(grep -m1 '^recorder: ' "$d/out.txt" || tail -n 1 "$d/out.txt")")
    fi
    while IFS= read -r line; do why+=("$side: $line"); done < <("expect_${name//-/_}" "$d" 2>&1)
  done
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
