#!/bin/bash
# Runs clang-tidy (the checks in .clang-tidy) on the C++ files changed since
# the branch left main, or on the files given. Needs a build for its
# compile commands.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
cd "$root"
if [ ! -f "$build/compile_commands.json" ]; then
    "$root/scripts/build.sh"
fi
if [ $# -gt 0 ]; then
    files=("$@")
else
    base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
    mapfile -t files < <( (git diff --name-only --diff-filter=d "$base"; git diff --name-only --diff-filter=d) \
        | grep -E '^(src|tests|bench)/.*\.cpp$' | sort -u)
fi
[ ${#files[@]} -eq 0 ] && { echo "No changed C++ files."; exit 0; }
clang-tidy --quiet -p "$build" "${files[@]}"
