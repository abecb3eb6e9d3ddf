#!/usr/bin/env bash
# Writes the text of every metafile of the shared corpus with `zvptool text` into a folder and scores it
# against the reference texts (character recall and precision per file and over the corpus).
#   tools/corpus-text.sh [OUT_DIR] [ZVPTOOL]
# OUT_DIR defaults to build/corpus-text, ZVPTOOL to the release build's (then the ci build's) zvptool.
set -uo pipefail
cd "$(dirname "$0")/.."
shared=../shared
out=${1:-build/corpus-text}
tool=${2:-}
if [ -z "$tool" ]; then
  for candidate in build/release/bin/zvptool build/ci/bin/zvptool; do
    [ -x "$candidate" ] && { tool=$candidate; break; }
  done
fi
[ -x "${tool:-}" ] || { echo "corpus-text: no zvptool built (give its path as the second argument)" >&2; exit 2; }
[ -d "$shared/corpus/emf" ] || { echo "corpus-text: no corpus in $shared/corpus" >&2; exit 2; }
mkdir -p "$out"
failed=0
for emf in "$shared"/corpus/emf/*.emf; do
  name=$(basename "$emf" .emf)
  if ! "$tool" text "$emf" -o "$out/$name.txt" 2>"$out/$name.err"; then
    failed=$((failed + 1))
    echo "text failed: $name: $(head -c 300 "$out/$name.err")" >&2
  fi
  [ -s "$out/$name.err" ] || rm -f "$out/$name.err"
done
echo "text failures: $failed"
/usr/bin/python3 "$shared/tools/text-score.py" "$out"
