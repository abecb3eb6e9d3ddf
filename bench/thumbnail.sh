#!/usr/bin/env bash
# Times `zvptool thumbnail` on each sample report, the whole process as a file manager starts it (zvptool,
# then zvptool-qt with Qt, drawing and PNG writing). The goal is a median under 60 ms per report.
#   bench/thumbnail.sh [BIN_DIR]   (default build/release/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/release/bin}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for report in samples/*.zvp; do
  hyperfine --warmup 3 --runs 30 --export-json "$out/$(basename "$report").json" \
    "$bin/zvptool thumbnail $report $out/thumb.png"
  /usr/bin/python3 -c "import json,sys; r=json.load(open(sys.argv[1]))['results'][0]; \
print(f\"{sys.argv[2]}: median {r['median']*1000:.1f} ms\")" "$out/$(basename "$report").json" "$report"
done
