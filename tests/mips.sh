#!/usr/bin/env bash
# Builds the application, the emulated recorder and the tests for the
# recorder's CPU (MIPS32 little-endian) and runs the tests under qemu-mipsel.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-mips
sysroot=$PWD/$dir/sysroot

# Target builds of libpng, libjpeg-turbo and zlib: Debian's mipsel packages,
# unpacked (not installed) into a folder of the build.
libs=(libpng16-16 libpng-dev zlib1g zlib1g-dev libjpeg62-turbo libjpeg62-turbo-dev)
if [ ! -f "$sysroot/.complete" ]; then
  debs=$PWD/$dir/debs
  mkdir -p "$debs" "$sysroot"
  added=0
  if ! dpkg --print-foreign-architectures | grep -qx mipsel; then
    dpkg --add-architecture mipsel
    added=1
  fi
  apt-get update -qq >/dev/null 2>&1 || true
  (cd "$debs" && apt-get download -qq "${libs[@]/%/:mipsel}" 2>/dev/null) || status=$?
  if [ "$added" = 1 ]; then
    dpkg --remove-architecture mipsel
    apt-get update -qq >/dev/null 2>&1 || true
  fi
  [ "${status:-0}" = 0 ] || { echo "mips: cannot download the mipsel libraries" >&2; exit 1; }
  for deb in "$debs"/*.deb; do dpkg -x "$deb" "$sysroot"; done
  # Development links to absolute paths must point into the sysroot.
  for link in "$sysroot"/usr/lib/mipsel-linux-gnu/*.so; do
    target=$(readlink "$link") || continue
    case "$target" in /*) ln -sf "$sysroot$target" "$link" ;; esac
  done
  touch "$sysroot/.complete"
fi

if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mipsel-linux-gnu.cmake" \
    -DPVR_MIPS_SYSROOT="$sysroot" -DPVR_BENCH=OFF >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
file "$dir/Pavrolinex.tap"
ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure --timeout 900
