#!/bin/bash
# Builds and runs every benchmark; each prints its figures and the baselines
# measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
"$root/scripts/build.sh"
build="${TAV_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# These start the program on a private X server with a window manager.
x11_benches=" bench_startup "
status=0
for b in $(find "$build/bench" -type f -executable -name 'bench_*' | sort); do
    name=$(basename "$b")
    echo "== $name"
    if [[ "$x11_benches" == *" $name "* ]]; then
        "$root/tests/x11-session.sh" --wm -- "$b" || status=1
    else
        "$b" || status=1
    fi
done
exit $status
