#!/usr/bin/env bash
# Installs what is needed, builds, and runs Kelvane on the sample history.
set -euo pipefail
cd "$(dirname "$0")"

./tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target kelvane-cli

sample=samples/haru.eud
echo "== kelvane-cli info $sample"
build/cli/kelvane-cli info "$sample"
echo "== kelvane-cli text $sample --utf8"
build/cli/kelvane-cli text "$sample" --utf8
echo
