#!/usr/bin/env bash
# Installs what is missing, builds the optimised build and opens the bundled sample report.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
sample=samples/faktura.zvp
if [ -x build/release/bin/zvpview ]; then
  exec build/release/bin/zvpview "$sample"
fi
exec build/release/bin/zvptool info "$sample"
