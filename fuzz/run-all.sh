#!/usr/bin/env bash
# run-all.sh BIN_DIR SECONDS: runs every fuzz target for SECONDS on its seed folders (listed in
# fuzz/*/fuzz_NAME.seeds, relative to the repository root), under a memory limit. The random seed is fixed
# (ZVP_FUZZ_SEED, default 1) so that a short run explores the same way each time; longer runs with other
# seeds are for finding new faults.
# A seed line "bin/PROGRAM" names a program in BIN_DIR that writes generated seeds into the folder it is
# given (the hostile pages of tests/hostile).
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
    if [[ $dir == bin/* ]]; then
      generated=$(mktemp -d)
      "$bin/${dir#bin/}" "$generated" && seeds+=("$generated")
    elif [ -d "$here/../$dir" ]; then
      seeds+=("$here/../$dir")
    fi
  done < <(cat "$here"/*/"$name.seeds" 2>/dev/null | grep -v '^#' || true)
  echo "fuzzing $name for ${seconds}s"
  "$target" -seed="${ZVP_FUZZ_SEED:-1}" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=1048576 -print_final_stats=0 \
    -artifact_prefix="$corpus.found-" "$corpus" "${seeds[@]}" 2>"$corpus.log" || {
    tail -n 60 "$corpus.log"
    # Small failing inputs go into the log so that they can be replayed from it.
    for found in "$corpus".found-*; do
      [ "$(stat -c %s "$found")" -le 20000 ] && { echo "$found (base64):"; base64 "$found"; }
    done
    exit 1
  }
  rm -rf "$corpus" "$corpus.log"
done
