#!/usr/bin/env bash
# run-all.sh BIN_DIR SECONDS: runs every fuzz target for SECONDS on its seed folders (listed in
# fuzz/*/fuzz_NAME.seeds, relative to the repository root), under a memory limit.
set -euo pipefail
bin=$1
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
shopt -s nullglob
for target in "$bin"/fuzz_*; do
  name=$(basename "$target")
  corpus=$(mktemp -d)
  seeds=()
  while read -r dir; do
    [ -d "$here/../$dir" ] && seeds+=("$here/../$dir")
  done < <(cat "$here"/*/"$name.seeds" 2>/dev/null | grep -v '^#' || true)
  echo "fuzzing $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=1048576 -print_final_stats=0 \
    "$corpus" "${seeds[@]}" 2>"$corpus.log" || { tail -n 60 "$corpus.log"; exit 1; }
  rm -rf "$corpus" "$corpus.log"
done
