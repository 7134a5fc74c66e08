#!/bin/bash
# Installs what is missing, builds and runs every test headless: unit and
# widget tests on the offscreen platform, X11 tests on private Xvfb servers.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --test
"$root/scripts/build.sh"
cd "${TAV_BUILD_DIR:-$root/build}"
ctest --no-tests=error --output-on-failure --parallel "$(nproc)" "$@"
