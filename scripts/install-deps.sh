#!/bin/bash
# Installs the Debian packages that building, running and testing need.
# Only missing packages are installed; a machine that has them all is left alone.
set -euo pipefail

build_pkgs=(cmake ninja-build ccache g++ pkg-config clang-format
    qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libqt6svg6 libgl-dev
    qt6-pdf-dev libqpdf-dev libquazip1-qt6-dev libxcb1-dev libxcb-keysyms1-dev libxcb-xtest0-dev libxcb-damage0-dev
    libxcb-shm0-dev x11proto-dev
    fonts-liberation2 fonts-wqy-microhei qt6-translations-l10n)
test_pkgs=(xvfb xauth xdotool x11-xkb-utils x11-xserver-utils xclip imagemagick openbox trayer xcompmgr
    poppler-utils qpdf unzip g++-mingw-w64-x86-64 clang-tidy
    dbus-daemon dbus-bin libglib2.0-bin sway xwayland grim pipewire
    xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk
    at-spi2-core python3-pyatspi gir1.2-atspi-2.0)
# Building and checking the Debian package (scripts/package.sh).
package_pkgs=(dpkg-dev file lintian appstream desktop-file-utils)

wanted=("${build_pkgs[@]}")
if [ "${1:-}" = "--test" ]; then
    wanted+=("${test_pkgs[@]}" "${package_pkgs[@]}")
elif [ "${1:-}" = "--package" ]; then
    wanted+=("${package_pkgs[@]}")
fi

missing=()
for p in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
