#!/usr/bin/env bash
# hostile-measure.sh ZVPTOOL SEED_DIR [SECONDS]: renders every hostile page of SEED_DIR (written by
# `hostile-seeds SEED_DIR`) with `ZVPTOOL render`, one at a time, each stopped after SECONDS (default 60),
# and prints a table: case, exit status, wall time, peak resident memory (from /usr/bin/time -v).
set -uo pipefail
tool=$1
seeds=$2
seconds=${3:-60}
out=$(mktemp -d)
printf '%-40s %6s %9s %10s\n' case exit seconds peak-MB
for file in "$seeds"/*.emf; do
  name=$(basename "$file" .emf)
  /usr/bin/time -v -o "$out/time" timeout "$seconds" "$tool" render "$file" -o "$out/page.png" >/dev/null 2>"$out/err"
  status=$?
  wall=$(sed -n 's/.*Elapsed (wall clock) time (h:mm:ss or m:ss): //p' "$out/time" |
    awk -F: '{ s = 0; for (i = 1; i <= NF; i++) s = s * 60 + $i; printf "%.2f", s }')
  rss=$(sed -n 's/.*Maximum resident set size (kbytes): //p' "$out/time")
  [ "$status" = 124 ] && status=timeout
  printf '%-40s %6s %9s %10d\n' "$name" "$status" "$wall" "$((rss / 1024))"
  rm -f "$out/page.png"
done
rm -rf "$out"
