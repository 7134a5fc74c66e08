#!/bin/bash
# Configures (once) and builds into ./build with ccache when available.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
type="${TAV_BUILD_TYPE:-RelWithDebInfo}"

# Rebuilds in fresh clones hit the cache only with these two.
export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=1
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="$type" "${launcher[@]}" "$@"
fi
cmake --build "$build" --parallel "$(nproc)"
