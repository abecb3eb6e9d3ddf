#!/usr/bin/env bash
# Installs the Debian packages zvpview needs to build, test and run, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6opengl6-dev qt6-translations-l10n
  libfreetype-dev libfontconfig-dev fontconfig libharfbuzz-dev zlib1g-dev
  libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf cups-filters cups-ipp-utils
  fonts-liberation fonts-liberation2 fonts-dejavu-core fonts-crosextra-carlito fonts-crosextra-caladea fonts-wine
  xvfb xauth poppler-utils qpdf
  clang clang-format libclang-rt-14-dev
  python3-numpy python3-pil
  shared-mime-info desktop-file-utils
  help2man lintian dpkg-dev xdg-utils libfile-mimeinfo-perl hyperfine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
