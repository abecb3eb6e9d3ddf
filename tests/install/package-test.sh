#!/usr/bin/env bash
# package-test.sh BUILD_DIR SOURCE_DIR: builds the Debian package from the build tree, installs it on
# this machine, checks what a user gets (the installed programs, the desktop entry, the MIME type by name
# and by content, the thumbnailer, the manual pages, the completion) and removes the package again.
# Exit status 77 (skipped) when this is no place to install packages.
set -euo pipefail
build=$1
src=$2

skip() {
  echo "SKIPPED: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
command -v dpkg >/dev/null && command -v apt-get >/dev/null || skip "not a Debian system"
if dpkg-query -W -f='${Status}' zvpview 2>/dev/null | grep -q 'install ok installed'; then
  skip "zvpview is installed on this machine already; it is left alone"
fi
for tool in desktop-file-validate xdg-mime mimetype; do
  command -v $tool >/dev/null || skip "$tool is missing (tools/install-deps.sh installs it)"
done

work=$(mktemp -d)
installed=0
cleanup() {
  [ $installed = 1 ] && dpkg --purge zvpview >/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

deb=$(bash "$src/tools/package.sh" "$build" "$work" | tail -n 1)
[ -f "$deb" ] || fail "no package"
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the Qt libraries: $(dpkg-deb -f "$deb" Depends)"

# Every dependency is installed here already (the build needs them), so dpkg alone installs it and
# nothing is downloaded.
installed=1
DEBIAN_FRONTEND=noninteractive dpkg -i "$deb" >"$work/dpkg.log" 2>&1 ||
  { cat "$work/dpkg.log"; fail "the package does not install"; }

# The installed programs, not the build's.
export PATH=/usr/sbin:/usr/bin:/sbin:/bin
hash -r
version=$(zvptool --version)
echo "$version"
[[ $version == "zvptool 2."*$'\n'"Commit ID: "* ]] || fail "zvptool --version: $version"
info=$(zvptool info "$src/samples/faktura.zvp")
[[ $info == "Header: 120 bytes"$'\n'"Pages: "* ]] || fail "zvptool info: $info"
zvptool thumbnail -s 64 "$src/samples/faktura.zvp" "$work/thumb.png" || fail "installed zvptool thumbnail"
[ -s "$work/thumb.png" ] || fail "no thumbnail"
zvpview --version | grep -q '^zvpview 2\.' || fail "zvpview --version"

desktop-file-validate /usr/share/applications/zvpview.desktop || fail "desktop entry"
grep -q '^Exec=zvptool thumbnail' /usr/share/thumbnailers/zvpview.thumbnailer || fail "thumbnailer entry"
for page in zvpview zvptool; do
  [ -s /usr/share/man/man1/$page.1.gz ] || fail "no manual page $page(1)"
  zcat /usr/share/man/man1/$page.1.gz | grep -q '^\.SH' || fail "manual page $page(1) has no sections"
done
zcat /usr/share/man/man1/zvptool.1.gz | grep -q 'thumbnail' || fail "zvptool(1) does not list the commands"
[ -s /usr/share/bash-completion/completions/zvptool ] || fail "no bash completion"
for icon in scalable/apps/zvpview.svg 48x48/apps/zvpview.png 256x256/apps/zvpview.png; do
  [ -s /usr/share/icons/hicolor/$icon ] || fail "no icon $icon"
done

# The MIME type by name and, for a file without the extension, by the header's magic rule. The
# database was rebuilt by shared-mime-info's trigger during the install.
cp "$src/samples/faktura.zvp" "$work/raport.zvp"
cp "$src/samples/faktura.zvp" "$work/raport"
for f in raport.zvp raport; do
  type=$(cd "$work" && XDG_CURRENT_DESKTOP= xdg-mime query filetype "$f")
  [ "$type" = application/x-zvp ] || fail "xdg-mime query filetype $f: $type"
done
echo "MIME type: application/x-zvp by name and by content"

dpkg --purge zvpview >/dev/null
installed=0
[ ! -e /usr/bin/zvptool ] && [ ! -e /usr/share/applications/zvpview.desktop ] || fail "files left after removal"
echo "installed, checked and removed"
