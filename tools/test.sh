#!/usr/bin/env bash
# Installs what is missing, builds the sanitizer build, runs a short fuzz pass and every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$jobs"

if [ "${ZVP_SKIP_FUZZ:-0}" != 1 ]; then
  cmake --preset fuzz >/dev/null
  cmake --build --preset fuzz -j "$jobs"
  bash fuzz/run-all.sh build/fuzz/bin "${ZVP_FUZZ_SECONDS:-60}"
fi

bash tests/printing/cups-start.sh
trap 'bash tests/printing/cups-stop.sh' EXIT
ctest --preset ci -j "$jobs"
