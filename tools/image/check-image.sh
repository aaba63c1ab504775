#!/usr/bin/env bash
# check-image.sh SYSROOT IMAGE... — checks that each image can load on the
# recorder: a stripped MIPS32 (o32, little-endian) shared object that needs
# only uClibc-ng's libraries (from SYSROOT, the build of build-uclibc.sh),
# runs nothing at load time, and imports only firmware API calls (TAP_...)
# and what those libraries define: no glibc versions, no C++ runtime, no
# TryResolve. Prints one line per image; exits 1 when any image fails.
set -euo pipefail
sysroot=$1; shift
readelf=mipsel-linux-gnu-readelf
objdump=mipsel-linux-gnu-objdump
libdir=$sysroot/lib
[ -f "$libdir/libc.so.0" ] || { echo "check-image: no libc.so.0 in $libdir" >&2; exit 2; }

# The symbols the recorder's C libraries define.
offered=$(mktemp)
trap 'rm -f "$offered"' EXIT
for lib in "$libdir"/libc.so.0 "$libdir"/libdl.so.0; do
  [ -f "$lib" ] || continue
  "$readelf" --dyn-syms -W "$lib" | awk '$7 != "UND" && $5 != "LOCAL" && NF >= 8 {print $8}'
done | sed 's/@.*//' | sort -u >"$offered"

status=0
for image in "$@"; do
  problems=()
  header=$("$readelf" -h "$image" 2>&1) || { echo "FAIL $image: not an ELF file"; status=1; continue; }
  grep -q "ELF32" <<<"$header" || problems+=("not 32-bit")
  grep -q "little endian" <<<"$header" || problems+=("not little-endian")
  grep -q "MIPS R3000" <<<"$header" || problems+=("not MIPS")
  grep -q "DYN (Shared object file)" <<<"$header" || problems+=("not a shared object")
  grep -q "o32" <<<"$header" || problems+=("not the o32 ABI")
  # The code must run on a MIPS32 (release 1) CPU. The header's ISA level
  # is no proof: libgcc's helpers of Debian's cross compiler are marked
  # MIPS32r2 though they use no instruction of it. Decoded as MIPS32, any
  # later instruction shows up undecoded or under a release-2 name.
  later=$("$objdump" -d -m mips:isa32 "$image" | awk -F'\t' 'NF >= 3 {print $3}' |
          grep -Ew '\.word|\(bad\)|ror|rotr|rotrv|ext|ins|seb|seh|wsbh|di|ei|rdhwr|synci|ehb|mfhc1|mthc1|jr\.hb|jalr\.hb' |
          sort | uniq -c | tr -s ' \n' ' ' || true)
  [ -n "$later" ] && problems+=("has code beyond MIPS32:$later")
  sections=$("$readelf" -S -W "$image")
  grep -Eq "\.symtab|\.debug_" <<<"$sections" && problems+=("not stripped")
  needed=$("$readelf" -d "$image" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  for lib in $needed; do
    case "$lib" in
      libc.so.0 | libdl.so.0) ;;
      *) problems+=("needs $lib") ;;
    esac
  done
  grep -q "^libc.so.0$" <<<"$needed" || problems+=("does not need libc.so.0")
  # Nothing to run at load time: the image links without start files, and an
  # older loader runs no .init_array.
  "$readelf" -d "$image" | grep -Eq "\((INIT|FINI|INIT_ARRAY|FINI_ARRAY)\)" &&
    problems+=("has load-time constructors or destructors")
  dynsyms=$("$readelf" --dyn-syms -W "$image")
  grep -q "GLIBC" <<<"$dynsyms" && problems+=("has glibc symbol versions")
  grep -Eq " _tap_header$" <<<"$dynsyms" || problems+=("exports no _tap_header")
  undefined=$(awk '$7 == "UND" && NF >= 8 {print $8}' <<<"$dynsyms" | sed 's/@.*//' | sort -u)
  for sym in $undefined; do
    case "$sym" in
      TAP_*) ;;
      *TryResolve*) problems+=("imports $sym: the application looks internals up itself") ;;
      _Z* | __cxa_* | __gxx_* | _Unwind_* | __stack_chk_* | *_chk)
        problems+=("imports $sym (C++ runtime or hardening)") ;;
      *) grep -qxF "$sym" "$offered" || problems+=("imports $sym, which uClibc-ng lacks") ;;
    esac
  done
  if [ ${#problems[@]} -eq 0 ]; then
    echo "ok   $image ($(stat -c %s "$image") bytes; needs: $(echo $needed))"
  else
    status=1
    for p in "${problems[@]}"; do echo "FAIL $image: $p"; done
  fi
done
exit $status
