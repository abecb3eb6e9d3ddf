#!/usr/bin/env bash
# readme-examples.sh SOURCE_DIR BIN_DIR SCRATCH_DIR: runs each block of README.md fenced "```sh example"
# as a bash script (stopping at the first failing command) in a scratch copy of the repository's samples,
# with the build's programs first on the PATH. A block that prints needs a CUPS scheduler; without one it
# is skipped, and said so.
set -uo pipefail
src=$1
bin=$2
scratch=$3

rm -rf "$scratch"
mkdir -p "$scratch"
cp -r "$src/samples" "$scratch/"
export PATH="$bin:$PATH" QT_QPA_PLATFORM=offscreen
# Under the leak checker of a sanitizer build, the print-system library's PPD cache, which it keeps for
# good, is not ours to free.
printf 'leak:libcups.so\n' >"$scratch/lsan.supp"
export LSAN_OPTIONS="suppressions=$scratch/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

blocks=0 failed=0
block="" inside=0 line_no=0 start=0
run_block() {
  blocks=$((blocks + 1))
  if [[ $block == *"zvptool print"* ]] && ! lpstat -r 2>/dev/null | grep -q "is running"; then
    echo "README.md:$start: skipped (no CUPS scheduler)"
    return
  fi
  local out
  if out=$(cd "$scratch" && bash -e -o pipefail -c "$block" 2>&1); then
    echo "README.md:$start: ok"
  else
    failed=$((failed + 1))
    echo "README.md:$start: FAILED"
    printf '%s\n--- output:\n%s\n' "$block" "$out"
  fi
}
while IFS= read -r line; do
  line_no=$((line_no + 1))
  if [ $inside = 0 ] && [ "$line" = '```sh example' ]; then
    inside=1 block="" start=$line_no
  elif [ $inside = 1 ] && [ "$line" = '```' ]; then
    inside=0
    run_block
  elif [ $inside = 1 ]; then
    block+="$line"$'\n'
  fi
done <"$src/README.md"

[ $blocks -gt 0 ] || { echo "no example blocks in README.md"; exit 1; }
echo "$blocks example blocks, $failed failed"
[ $failed = 0 ]
