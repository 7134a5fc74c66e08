#!/bin/bash
# Takes the user guide's pictures from the program on a private X server
# (1280 x 800, with a window manager) and writes them into docs/guide/screenshots,
# or into the folder given as the first argument.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
out=$(realpath -m "${1:-$root/docs/guide/screenshots}")
"$root/scripts/install-deps.sh" --test
# Only the picture taker: the guide's own build needs these pictures.
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${TAV_BUILD_TYPE:-RelWithDebInfo}"
fi
cmake --build "$build" --target guideshots tavelmark_net
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# A fresh user: default settings, English, no tray.
mkdir -p "$home/data/Quillbury/Tavelmark"
printf '[UserInterface]\nLanguage=en_GB\nShowTrayIcon=0\n' >"$home/data/Quillbury/Tavelmark/Setting.ini"
XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home" LC_ALL=C.UTF-8 LANGUAGE= \
    QT_QPA_PLATFORM=xcb TAV_MODULE_DIR="$build/src" \
    "$root/tests/x11-session.sh" --wm --screen 1280x800 -- "$build/tools/guideshots/guideshots" "$out"
