#!/bin/bash
# Fails when a C++ file of the project is not formatted as .clang-format says;
# `clang-format -i FILE` fixes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
git ls-files -- 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' \
    'tools/*.cpp' 'tools/*.h' | xargs clang-format --dry-run --Werror
