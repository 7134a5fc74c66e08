#!/bin/bash
# Runs clang-tidy (the checks in .clang-tidy) on the C++ files changed since
# the branch left main, on the files given, or with --all on every C++ file
# of src/ (as the test command does). Needs a build for its compile commands.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${TAV_BUILD_DIR:-$root/build}"
cd "$root"
if [ ! -f "$build/compile_commands.json" ]; then
    "$root/scripts/build.sh"
fi
if [ "${1:-}" = "--all" ]; then
    mapfile -t files < <(git ls-files -- 'src/*.cpp' | grep -v '^src/platform/win')
elif [ $# -gt 0 ]; then
    files=("$@")
else
    base=$(git merge-base HEAD main 2>/dev/null || git rev-parse HEAD)
    mapfile -t files < <( (git diff --name-only --diff-filter=d "$base"; git diff --name-only --diff-filter=d) \
        | grep -E '^(src|tests|bench)/.*\.cpp$' | sort -u)
fi
[ ${#files[@]} -eq 0 ] && { echo "No changed C++ files."; exit 0; }
# One file per process, as many as there are cores; any finding fails.
printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -n 1 clang-tidy --quiet -p "$build"
