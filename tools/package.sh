#!/usr/bin/env bash
# Builds the Debian package zvpview_<version>_<arch>.deb with CPack.
#   tools/package.sh                  optimised build (release preset), package into the current folder
#   tools/package.sh BUILD_DIR [OUT]  package an already configured and built tree instead
# Dependencies are computed from the binaries by dpkg-shlibdeps. When lintian is installed the package is
# checked with it and any error fails the script.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(pwd)

if [ $# -ge 1 ]; then
  build=$(cd "$1" && pwd)
  [ $# -ge 2 ] && out=$(mkdir -p "$2" && cd "$2" && pwd)
else
  (cd "$root" && bash tools/install-deps.sh && cmake --preset release >/dev/null &&
    cmake --build --preset release -j "$(nproc)")
  build=$root/build/release
fi
[ -f "$build/CPackConfig.cmake" ] || { echo "package.sh: $build is not a configured build tree" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log") || {
  cat "$work/cpack.log" >&2
  exit 1
}
deb=$(find "$work" -maxdepth 1 -name 'zvpview_*.deb' | head -n 1)
[ -n "$deb" ] || { echo "package.sh: CPack made no package" >&2; exit 1; }

if command -v lintian >/dev/null; then
  # Errors fail the package; warnings are shown.
  if ! lintian --fail-on error "$deb"; then
    echo "package.sh: lintian reports errors" >&2
    exit 1
  fi
fi
mv -f "$deb" "$out/"
echo "$out/$(basename "$deb")"
