#!/usr/bin/env bash
# Sets up a Debian 12 machine for zenkor Installer and then either starts the
# installer on the demo package (`./build.sh run`) or runs every test headless
# (`./build.sh test`), or the Qt tests under the sanitizers
# (`./build.sh test-gui-sanitized`). Safe to run again: it installs only what is missing.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-private-dev qt6-wayland libarchive-dev zlib1g-dev nettle-dev libb2-dev libsdl2-mixer-dev timgm6mb-soundfont
  fonts-dejavu-core fonts-liberation2 xfonts-base libblkid-dev
  patchelf icu-devtools debootstrap imagemagick xdotool
  libgtest-dev libgmock-dev exfat-fuse exfatprogs
  clang libclang-rt-14-dev
  libarchive-tools xvfb xauth
  x11-utils
  sway grim jq libwayland-dev
)

install_missing_packages() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# Debian's public RAR library (the default beside setup) and its unrar tool
# (for the benchmark), from the non-free component of the machine's own
# Debian sources, unpacked under build/debian/root; apt's configuration stays
# as it is.
fetch_public_rar_library() {
  . tools/debian/apt_sources.sh
  fetch_debian_packages build/debian non-free libunrar5 unrar
}

# ZK_WERROR=ON in the environment makes warnings errors (CI sets it).
werror="-DZK_WERROR=${ZK_WERROR:-OFF}"

build_main() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$werror"
  cmake --build build
}

# The platform-independent core and libunrar.so under AddressSanitizer and
# UndefinedBehaviorSanitizer, with the fuzz targets run for a fixed time.
# Tests run side by side, one per core; a test that needs the machine to
# itself says so (RUN_SERIAL).
test_sanitized_core() {
  CC=clang CXX=clang++ cmake -S . -B build-sanitize -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DZK_CORE_ONLY=ON -DZK_SANITIZE=ON -DZK_FUZZ=ON "$werror" \
    -DZK_PUBLIC_UNRAR_ROOT="$PWD/build/debian/root"
  cmake --build build-sanitize
  ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
}

# The Qt code and its tests (target gui_tests: app, dialogs, presentation,
# volumes, widgets) under the same sanitizers, on the offscreen platform.
# Qt and fontconfig keep some memory to the end; tests/support/lsan_qt.supp
# names those allocations, and the full unwinder is needed to see through
# Qt's frames to them.
test_sanitized_gui() {
  CC=clang CXX=clang++ cmake -S . -B build-sanitize-gui -G Ninja \
    -DCMAKE_BUILD_TYPE=Debug -DZK_SANITIZE=ON "$werror" \
    -DZK_PUBLIC_UNRAR_ROOT="$PWD/build/debian/root"
  cmake --build build-sanitize-gui --target gui_tests
  ASAN_OPTIONS=fast_unwind_on_malloc=0 LSAN_OPTIONS="suppressions=$PWD/tests/support/lsan_qt.supp" \
    ctest --test-dir build-sanitize-gui --output-on-failure -j "$(nproc)" \
    -R '^(app|dialogs|presentation|volumes|widgets)_'
}

case "${1:-}" in
  run)
    install_missing_packages
    fetch_public_rar_library
    build_main
    cd build/demo
    exec ./setup
    ;;
  test)
    install_missing_packages
    fetch_public_rar_library
    test_sanitized_core
    build_main
    export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
    ctest --test-dir build --output-on-failure -j "$(nproc)"
    ;;
  test-gui-sanitized)
    install_missing_packages
    fetch_public_rar_library
    test_sanitized_gui
    ;;
  *)
    echo "usage: $0 run|test|test-gui-sanitized" >&2
    exit 2
    ;;
esac
