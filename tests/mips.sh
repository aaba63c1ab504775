#!/usr/bin/env bash
# Builds the application, the emulated recorder and the tests for the
# recorder's CPU (MIPS32 little-endian) and runs the tests under qemu-mipsel.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-mips
if [ ! -f "$dir/build.ninja" ]; then
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mipsel-linux-gnu.cmake" \
    -DPVR_BENCH=OFF >/dev/null
fi
cmake --build "$dir" -j "$(nproc)"
file "$dir/Pavrolinex.tap"
ctest --test-dir "$dir" -j "$(nproc)" --output-on-failure --timeout 900
