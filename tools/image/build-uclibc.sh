#!/usr/bin/env bash
# build-uclibc.sh OUT — builds uClibc-ng, the recorder's C library, for
# MIPS32 little-endian from Debian's uclibc-source package into OUT/sysroot
# (headers, crt files, libc.so.0 and friends) with Debian's cross compiler.
# Built once: a later call returns at once unless the source, uclibc.config
# or this script changed.
set -euo pipefail
out=$(mkdir -p "$1" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
sysroot=$out/sysroot
stamp=$sysroot/.built
tarball=$(ls /usr/src/uClibc-ng-*.tar.* 2>/dev/null | sort -V | tail -n 1 || true)
if [ -z "$tarball" ]; then
  echo "build-uclibc: no uClibc-ng source in /usr/src (Debian package uclibc-source)" >&2
  exit 1
fi
key=$( (basename "$tarball"; cat "$here/uclibc.config" "$here/build-uclibc.sh") | sha256sum | cut -c1-16)
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$key" ]; then
  exit 0
fi
kernel=/usr/mipsel-linux-gnu/include
if [ ! -d "$kernel/linux" ] || ! command -v mipsel-linux-gnu-gcc >/dev/null; then
  echo "build-uclibc: needs mipsel-linux-gnu-gcc and its kernel headers (g++-mipsel-linux-gnu)" >&2
  exit 1
fi
echo "build-uclibc: building $(basename "$tarball") for mipsel into $sysroot (once)" >&2
rm -rf "$out/src" "$out/obj" "$sysroot"
mkdir -p "$out/src" "$out/obj"
tar -xf "$tarball" -C "$out/src" --strip-components=1
log=$out/build.log
{
  cat "$here/uclibc.config"
  echo "KERNEL_HEADERS=\"$kernel\""
  echo 'CROSS_COMPILER_PREFIX="mipsel-linux-gnu-"'
} >"$out/wanted.config"
mk() { make -C "$out/src" ARCH=mips O="$out/obj" "$@" >>"$log" 2>&1; }
: >"$log"
mk KCONFIG_ALLCONFIG="$out/wanted.config" allnoconfig
# allnoconfig drops an option whose dependencies are unmet without a word.
missing=$(grep -E '^[A-Z_0-9]+=' "$out/wanted.config" | grep -vxFf "$out/obj/.config" || true)
if [ -n "$missing" ]; then
  echo "build-uclibc: the configuration lost:" >&2
  echo "$missing" >&2
  exit 1
fi
if ! mk -j "$(nproc)" || ! mk PREFIX="$sysroot" install; then
  tail -n 30 "$log" >&2
  echo "build-uclibc: failed (log: $log)" >&2
  exit 1
fi
# The C library's headers include the kernel's.
for d in linux asm asm-generic mtd; do
  [ -d "$kernel/$d" ] && cp -a "$kernel/$d" "$sysroot/usr/include/"
done
echo "$key" >"$stamp"
