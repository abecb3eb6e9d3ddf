#!/usr/bin/env bash
# Converts every metafile of the shared corpus with `zvptool pdf` (all in one process), checks each PDF
# with qpdf and pdfinfo, rasterises page 1 at 96 dpi and extracts its text, and scores both against the
# references as tools/corpus-render.sh scores the preview.
#   tools/corpus-pdf.sh [OUT_DIR] [ZVPTOOL]
# OUT_DIR defaults to build/corpus-pdf, ZVPTOOL to the release build's (then the ci build's) zvptool.
set -uo pipefail
cd "$(dirname "$0")/.."
shared=../shared
out=${1:-build/corpus-pdf}
tool=${2:-}
if [ -z "$tool" ]; then
  for candidate in build/release/bin/zvptool build/ci/bin/zvptool; do
    [ -x "$candidate" ] && { tool=$candidate; break; }
  done
fi
[ -x "${tool:-}" ] || { echo "corpus-pdf: no zvptool built (give its path as the second argument)" >&2; exit 2; }
[ -d "$shared/corpus/emf" ] || { echo "corpus-pdf: no corpus in $shared/corpus" >&2; exit 2; }
mkdir -p "$out/pdf" "$out/png" "$out/text"
rm -f "$out"/pdf/*.pdf "$out"/png/*.png "$out"/text/*.txt

inputs=()
for emf in "$shared"/corpus/emf/*.emf; do
  name=$(basename "$emf" .emf)
  ln -sf "$(realpath "$emf")" "$out/pdf/$name.emf"
  inputs+=("$out/pdf/$name.emf")
done
start=$EPOCHREALTIME
"$tool" pdf "${inputs[@]}" 2>"$out/pdf-errors.txt"
end=$EPOCHREALTIME
echo "converted ${#inputs[@]} files in one process: $(awk "BEGIN { printf \"%.2f\", $end - $start }") s"
[ -s "$out/pdf-errors.txt" ] && { echo "conversion errors:"; cat "$out/pdf-errors.txt"; }

# One process per file, as a user converting a single page would run it.
times=()
for input in "${inputs[@]}"; do
  t0=$EPOCHREALTIME
  "$tool" pdf "$input" -o "$out/single.pdf" 2>/dev/null
  t1=$EPOCHREALTIME
  times+=("$(awk "BEGIN { printf \"%.1f\", ($t1 - $t0) * 1000 }")")
done
rm -f "$out/single.pdf"
printf '%s\n' "${times[@]}" | sort -n | awk '{ a[NR] = $1 } END { printf "one file per process: median %.1f ms, max %.1f ms\n", a[int((NR + 1) / 2)], a[NR] }'

bad=0
for pdf in "$out"/pdf/*.pdf; do
  name=$(basename "$pdf" .pdf)
  if ! qpdf --check "$pdf" >/dev/null 2>&1; then
    bad=$((bad + 1))
    echo "qpdf --check fails: $name" >&2
  fi
  pdfinfo "$pdf" >/dev/null 2>&1 || echo "pdfinfo fails: $name" >&2
  pdftoppm -r 96 -png -f 1 -l 1 -singlefile "$pdf" "$out/png/$name" 2>/dev/null
  pdftotext -layout "$pdf" "$out/text/$name.txt" 2>/dev/null
done
echo "PDF files failing qpdf --check: $bad"
echo "== drawing (page 1 at 96 dpi) =="
/usr/bin/python3 "$shared/tools/corpus-score.py" "$out/png"
echo "== text (pdftotext -layout) =="
/usr/bin/python3 "$shared/tools/text-score.py" "$out/text"
