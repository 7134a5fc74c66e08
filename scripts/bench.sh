#!/bin/bash
# Builds and runs every benchmark; each prints its figures and the baselines
# measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
"$root/scripts/build.sh"
build="${TAV_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
status=0
for b in $(find "$build/bench" -type f -executable -name 'bench_*' | sort); do
    echo "== $(basename "$b")"
    "$b" || status=1
done
exit $status
