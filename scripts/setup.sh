#!/usr/bin/env bash
# Installs what is missing, builds, and then either starts the program on the built
# installation folder ("run") or runs every test ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

mode="${1:-test}"
case "$mode" in
    run|test|build) ;;
    *) echo "Aufruf: scripts/setup.sh run|test|build" >&2; exit 2 ;;
esac

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-translations-l10n libgl-dev
          libsqlite3-dev sqlite3 pxlib-dev libshp-dev libxlsxwriter-dev libzip-dev zlib1g-dev fonts-dejavu-core
          util-linux)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2

case "$mode" in
    run) exec build/Quillon/quillon ;;
    test) ctest --test-dir build --output-on-failure -j2 ;;
esac
