#!/usr/bin/env bash
# Renders every metafile of the shared corpus with `zvptool render --fit 4000` into a folder and scores
# the renderings against the reference images.
#   tools/corpus-render.sh [OUT_DIR] [ZVPTOOL]
# OUT_DIR defaults to build/corpus-render, ZVPTOOL to the release build's (then the ci build's) zvptool.
set -uo pipefail
cd "$(dirname "$0")/.."
shared=../shared
out=${1:-build/corpus-render}
tool=${2:-}
if [ -z "$tool" ]; then
  for candidate in build/release/bin/zvptool build/ci/bin/zvptool; do
    [ -x "$candidate" ] && { tool=$candidate; break; }
  done
fi
[ -x "${tool:-}" ] || { echo "corpus-render: no zvptool built (give its path as the second argument)" >&2; exit 2; }
[ -d "$shared/corpus/emf" ] || { echo "corpus-render: no corpus in $shared/corpus" >&2; exit 2; }
mkdir -p "$out"
failed=0
for emf in "$shared"/corpus/emf/*.emf; do
  name=$(basename "$emf" .emf)
  if ! "$tool" render "$emf" --fit 4000 -o "$out/$name.png" 2>"$out/$name.err"; then
    failed=$((failed + 1))
    echo "render failed: $name: $(head -c 300 "$out/$name.err")" >&2
  fi
  [ -s "$out/$name.err" ] || rm -f "$out/$name.err"
done
echo "render failures: $failed"
/usr/bin/python3 "$shared/tools/corpus-score.py" "$out"
