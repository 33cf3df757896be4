#!/usr/bin/env bash
# Installs what is needed, builds, and opens the sample history in Kelvane.
# Without a display the window is rendered off screen to a PNG instead.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target kelvane kelvane-cli

sample=samples/haru.eud
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/qt/kelvane "$sample"
fi
shot="$PWD/build/kelvane-window.png"
build/qt/kelvane --screenshot "$shot" --size 800x600 "$sample"
echo "No display here: the window with $sample was rendered off screen to $shot"
echo "== kelvane-cli info $sample"
build/cli/kelvane-cli info "$sample"
