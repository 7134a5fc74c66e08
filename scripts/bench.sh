#!/bin/bash
# Builds and runs every benchmark; each prints its figures and the baselines
# measured in the same run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
"$root/scripts/build.sh"
build="${TAV_BUILD_DIR:-$root/build}"
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
# The loadable modules (ZIP, network) of the build tree, not of an installation.
export TAV_MODULE_DIR="${TAV_MODULE_DIR:-$build/src}"
# These start the program on a private X server with a window manager.
x11_benches=" bench_startup bench_libraries bench_capture bench_pencpu bench_livezoom "
# These need a session bus too (for the accessibility bus they start).
bus_benches=" bench_startup_a11y "
# These run again on a 2560 x 1600 screen at scale 2.
x11_scaled_benches=" bench_startup bench_capture bench_pencpu "
# These run again on a 1280 x 800 page at scale 1 and at scale 2 (2560 x 1600
# device pixels), each beside its raw baselines at the same device size.
scaled_benches=" bench_canvas bench_zoom bench_memory bench_penmove bench_presenter bench_journal bench_save bench_open bench_pdfopen "
status=0
for b in $(find "$build/bench" -type f -executable -name 'bench_*' | sort); do
    name=$(basename "$b")
    echo "== $name"
    if [[ "$bus_benches" == *" $name "* ]]; then
        "$root/tests/x11-session.sh" --wm -- dbus-run-session \
            --config-file="$root/tests/private-bus.conf" -- "$b" || status=1
    elif [[ "$x11_benches" == *" $name "* ]]; then
        "$root/tests/x11-session.sh" --wm -- "$b" || status=1
        if [[ "$x11_scaled_benches" == *" $name "* ]]; then
            echo "== $name, 2560 x 1600 at scale 2"
            "$root/tests/x11-session.sh" --wm --screen 2560x1600 -- \
                env QT_SCALE_FACTOR=2 "$b" || status=1
        fi
    else
        "$b" || status=1
    fi
    if [[ "$scaled_benches" == *" $name "* ]]; then
        for scale in 1 2; do
            echo "== $name, 1280 x 800 at scale $scale"
            TAV_BENCH_PAGE=1280x800 QT_SCALE_FACTOR=$scale "$b" || status=1
        done
    fi
done
exit $status
