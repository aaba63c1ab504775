#!/usr/bin/env bash
# Regenerates the built-in fonts (src/ui/fonts) and graphics (src/ui/graphics)
# from their generators. Run from anywhere; commit the result on purpose.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target fontgen gfxgen
build/tools/fontgen /usr/share/fonts/truetype/crosextra/Carlito-Regular.ttf src/ui/fonts
build/tools/gfxgen /usr/share/fonts/truetype/crosextra/Carlito-Bold.ttf src/ui/graphics
