#!/usr/bin/env bash
# make_clean_root.sh ROOT [RELEASE]: makes a minimal Debian root (RELEASE is a
# codename, bookworm by default) that stands for a plain Linux desktop: the C
# library, an X server (Xvfb, whose framebuffer file is the screenshot) and
# xdotool to drive windows, and what a desktop is expected to provide (X
# client libraries, fontconfig, freetype, and what the X server itself brings),
# but no font and nothing of Qt, SDL, libarchive or a RAR library. Made once
# and reused: a finished root carries a marker file.
set -euo pipefail
root=${1:?usage: make_clean_root.sh ROOT [RELEASE]}
release=${2:-bookworm}
marker="$root/.clean-root-complete"
[ -f "$marker" ] && exit 0

fail() { echo "clean root: $*" >&2; exit 1; }
[ "$(id -u)" -eq 0 ] || fail "making $root needs root (debootstrap and chroot)"
command -v debootstrap >/dev/null || fail "debootstrap is not installed"

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../../tools/debian/apt_sources.sh"
mirror=$(debian_mirror) || fail "no Debian mirror in this machine's apt configuration"

desktop_packages=xvfb,xdotool,libx11-6,libxcb1,libfontconfig1,libfreetype6
partial="$root.partial"
rm -rf "$partial"
mkdir -p "$(dirname "$root")"
debootstrap --variant=minbase --include="$desktop_packages" "$release" "$partial" "$mirror" \
  > "$root.log" 2>&1 || fail "debootstrap from $mirror failed; see $root.log"

# fontconfig's configuration package pulls in a font; a root without font
# files shows whether the installer folder brings its own. The package stays
# registered, so apt keeps working in the root; dpkg leaves the files out.
echo 'path-exclude=/usr/share/fonts/*' > "$partial/etc/dpkg/dpkg.cfg.d/no-fonts"
rm -rf "$partial"/usr/share/fonts/*
chroot "$partial" apt-get clean
for forbidden in 'libqt6*' 'libsdl2*' 'libarchive*' 'libunrar*'; do
  if chroot "$partial" dpkg-query -W -f='${Package}\n' "$forbidden" 2>/dev/null | grep -q .; then
    fail "$forbidden found in the root"
  fi
done

rm -rf "$root"
mv "$partial" "$root"
touch "$marker"
