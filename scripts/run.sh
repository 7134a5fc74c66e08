#!/bin/bash
# Installs what is missing, builds and starts Tavelmark.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${TAV_BUILD_DIR:-$root/build}/src/tavelmark" "$@"
