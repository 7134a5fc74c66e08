#!/bin/bash
# Takes the user guide's pictures from the program on a private X server
# (1280 x 800, with a window manager), in every language the guide is written
# in, and writes them into docs/guide/screenshots/<language>, or into
# <folder>/<language> for the folder given as the first argument.
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
languages=()
for chapters in "$root"/docs/guide/*/chapters.txt; do
    languages+=("$(basename "$(dirname "$chapters")")")
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
# guideshots makes a fresh user of its own for each language.
XDG_RUNTIME_DIR="$home" LC_ALL=C.UTF-8 LANGUAGE= QT_QPA_PLATFORM=xcb TAV_MODULE_DIR="$build/src" \
    "$root/tests/x11-session.sh" --wm --screen 1280x800 -- bash -c '
        shots="$1"; out="$2"; shift 2
        for language in "$@"; do
            rm -rf "${out:?}/$language"
            "$shots" "$language" "$out/$language" || exit 1
        done' bash "$build/tools/guideshots/guideshots" "$out" "${languages[@]}"
